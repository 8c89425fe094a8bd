// A classroom uploading its results through the real channel and FTP service
// while the console collects every 200 ms: no collection ever holds a row
// that no examinee uploaded, the last one holds every final record, and an
// FTP service that crashes during the final uploads loses nothing and makes
// no upload claim a delivery it did not make.
//
// KESTRIX_CLASSROOM_EXAMINEES=N runs the load test with N examinees instead
// of 200 (run the program itself for large N: ctest stops a test at 5 min).
#include "classroom.h"
#include "ftpservice.h"
#include "resultcollector.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kPoolSize = 50;
constexpr int kCollectEveryMillis = 200;

int examineesFromEnvironment(int fallback)
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("KESTRIX_CLASSROOM_EXAMINEES", &ok);
    return ok && count > 0 ? count : fallback;
}

// Runs the event loop until the whole classroom is through or the deadline
// passes. A plain event loop, so that no report waits on a polling pause.
bool waitUntilFinished(Classroom &room, int deadlineMillis)
{
    if (room.finished())
        return true;
    QEventLoop loop;
    QObject::connect(&room, &Classroom::allDone, &loop, &QEventLoop::quit);
    QTimer::singleShot(deadlineMillis, &loop, &QEventLoop::quit);
    loop.exec();
    return room.finished();
}

// Collects on a timer and checks every collection against what the
// examinees have saved and been told: each row is one of its examinee's
// versions, no older than the one the examinee was told is delivered and no
// newer than the one it has saved. Where the service cannot rename onto an
// existing file, the channel deletes the earlier file first, and for that
// moment the examinee may be missing from a collection: `mayBeMissing`.
class CollectingConsole
{
public:
    CollectingConsole(const QString &exchange, const QString &work, const Classroom &room,
                      bool mayBeMissing = false)
        : m_store(QDir(work).filePath(QStringLiteral("cj.mdb"))),
          m_collector(exchange, work, m_store),
          m_room(room),
          m_mayBeMissing(mayBeMissing)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { collectAndCheck(); });
        m_timer.setInterval(kCollectEveryMillis);
    }

    bool isOpen() const { return m_store.isOpen(); }
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    int collections() const { return m_collections; }
    // Delivered records that a collection did not find, and files that
    // went between listing and reading (see mayBeMissing).
    int missing() const { return m_missing; }
    int vanished() const { return m_vanished; }
    qint64 longestCollectionMillis() const { return m_longest; }
    const QStringList &problems() const { return m_problems; }

    void collectAndCheck()
    {
        // Collection runs on this thread, so no report arrives meanwhile:
        // the examinees' states are those of the moment it read the folder.
        QElapsedTimer clock;
        clock.start();
        const CollectionReport report = m_collector.collect();
        m_longest = std::max(m_longest, clock.elapsed());
        ++m_collections;
        if (!report.ok()) {
            note(QStringLiteral("collection failed: ") + report.problem);
            return;
        }
        for (const SkippedFile &skipped : report.skipped) {
            // Listed, then deleted for the rename before it could be opened.
            if (m_mayBeMissing && skipped.reason.startsWith(QStringLiteral("无法打开"))) {
                ++m_vanished;
                continue;
            }
            note(QStringLiteral("skipped %1 (%2)").arg(skipped.name, skipped.reason));
        }
        const auto rows = m_store.rowsInRankOrder();
        if (!rows) {
            note(m_store.lastError());
            return;
        }
        QVector<int> seen(m_room.examineeCount(), -1);
        for (const ResultRow &row : *rows) {
            const int version = Classroom::versionOfRow(row);
            if (version < 0) {
                note(QStringLiteral("row %1 %2 %3 matches no uploaded version")
                         .arg(row.xueHao, row.xingMing, row.zhengQueLv));
                continue;
            }
            const int index = row.xueHao.toInt();
            if (index >= m_room.examineeCount() || seen[index] >= 0) {
                note(QStringLiteral("row for %1 twice or unknown").arg(row.xueHao));
                continue;
            }
            seen[index] = version;
        }
        for (int i = 0; i < m_room.examineeCount(); ++i) {
            if (seen[i] < 0 && m_room.deliveredVersion(i) >= 0 && m_mayBeMissing) {
                ++m_missing;
                continue;
            }
            if (seen[i] < m_room.deliveredVersion(i) || seen[i] > m_room.savedVersion(i))
                note(QStringLiteral("examinee %1: collected version %2, delivered %3, saved %4")
                         .arg(i)
                         .arg(seen[i])
                         .arg(m_room.deliveredVersion(i))
                         .arg(m_room.savedVersion(i)));
        }
    }

private:
    void note(const QString &problem)
    {
        // The first few tell the story; thousands would drown it.
        if (m_problems.size() < 20)
            m_problems << problem;
    }

    ResultStore m_store;
    ResultCollector m_collector;
    const Classroom &m_room;
    bool m_mayBeMissing;
    QTimer m_timer;
    int m_collections = 0;
    int m_missing = 0;
    int m_vanished = 0;
    qint64 m_longest = 0;
    QStringList m_problems;
};

}  // namespace

class TestClassroom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classroomUploadsWhileConsoleCollects_data();
    void classroomUploadsWhileConsoleCollects();
    void finalUploadsSurviveServiceCrash();

private:
    // After the run: one last collection holds exactly every final record.
    void verifyFinalCollection(CollectingConsole &console, const Classroom &room);

    std::unique_ptr<QTemporaryDir> m_exchange;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestClassroom::init()
{
    m_exchange = std::make_unique<QTemporaryDir>();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_exchange->isValid() && m_work->isValid());
}

void TestClassroom::cleanup()
{
    m_work.reset();
    m_exchange.reset();
}

void TestClassroom::verifyFinalCollection(CollectingConsole &console, const Classroom &room)
{
    console.collectAndCheck();
    QVERIFY2(console.problems().isEmpty(), qPrintable(console.problems().join(u'\n')));
    ResultStore store(m_work->filePath(QStringLiteral("cj.mdb")));
    const auto rows = store.rowsInRankOrder();
    QVERIFY(rows);
    QCOMPARE(rows->size(), room.examineeCount());
    for (const ResultRow &row : *rows)
        QCOMPARE(Classroom::versionOfRow(row), Classroom::kFinalVersion);
}

void TestClassroom::classroomUploadsWhileConsoleCollects_data()
{
    QTest::addColumn<bool>("renameOverRefused");
    QTest::addRow("service renames over a file") << false;
    QTest::addRow("service refuses to rename over a file") << true;
}

void TestClassroom::classroomUploadsWhileConsoleCollects()
{
    QFETCH(bool, renameOverRefused);
    FtpService service(m_exchange->path());
    service.setRenameOverExistingRefused(renameOverRefused);
    QVERIFY(service.start());
    const int examinees = examineesFromEnvironment(200);
    Classroom room(examinees, kPoolSize, service.address(), m_exchange->path(), m_work->path());
    CollectingConsole console(m_exchange->path(), m_work->path(), room, renameOverRefused);
    QVERIFY(console.isOpen());

    QElapsedTimer clock;
    clock.start();
    room.start();
    console.start();
    QVERIFY(waitUntilFinished(room, std::max(100000, examinees * 500)));
    const qint64 wallMillis = clock.elapsed();
    console.stop();

    QVERIFY2(room.problems().isEmpty(), qPrintable(room.problems().join(u'\n')));
    // Fifty at once is no reason for a single transfer to fail.
    QCOMPARE(room.channelErrors(), 0);
    QCOMPARE(room.transfers(), examinees * Classroom::kVersions);
    QCOMPARE(room.mostActive(), std::min(examinees, kPoolSize));
    // The console collected while the classroom uploaded, not only at the end.
    QVERIFY(console.collections() > 0);
    verifyFinalCollection(console, room);
    if (QTest::currentTestFailed())
        return;

    qInfo("%d examinees, %d transfers, at most %d at once: %.1f s, %.1f transfers/s, longest "
          "wait for a final upload %lld ms; %d collections, the longest %lld ms, %d delivered "
          "records not found, %d files gone before they were read",
          examinees, room.transfers(), room.mostActive(), wallMillis / 1000.0,
          room.transfers() * 1000.0 / double(std::max<qint64>(1, wallMillis)),
          room.longestFinalWaitMillis(), console.collections(), console.longestCollectionMillis(),
          console.missing(), console.vanished());
}

void TestClassroom::finalUploadsSurviveServiceCrash()
{
    constexpr int kExaminees = 100;
    constexpr int kCrashWithFinalsOnTheirWay = 25;
    constexpr int kOutageMillis = 3000;

    FtpService service(m_exchange->path());
    QVERIFY(service.start());
    Classroom room(kExaminees, kPoolSize, service.address(), m_exchange->path(), m_work->path());
    // The default back-off (1, 2, 4, 8 ... s); six attempts span half a
    // minute, far more than the outage.
    room.setUploadSetup([](ResultUpload &upload) { upload.setAttempts(6); });
    CollectingConsole console(m_exchange->path(), m_work->path(), room);
    QVERIFY(console.isOpen());

    int deliveredAtCrash = 0;
    int pendingAtCrash = 0;
    int errorsBeforeCrash = 0;
    bool crashed = false;
    bool restarted = false;
    QElapsedTimer outage;
    qint64 outageMillis = 0;
    // The crash comes right after a final upload began, while many others
    // are on their way.
    connect(&room, &Classroom::finalSaved, this, [&] {
        if (crashed || room.finalsSaved() - room.finalsDelivered() < kCrashWithFinalsOnTheirWay)
            return;
        deliveredAtCrash = room.finalsDelivered();
        pendingAtCrash = room.finalsSaved() - deliveredAtCrash;
        errorsBeforeCrash = room.channelErrors();
        service.kill();
        crashed = true;
        outage.start();
        QTimer::singleShot(kOutageMillis, this, [&] {
            restarted = service.start();
            outageMillis = outage.elapsed();
        });
    });

    room.start();
    console.start();
    QVERIFY(waitUntilFinished(room, 100000));
    console.stop();

    QVERIFY(crashed);
    QVERIFY(restarted);
    // The crash hit final uploads in flight, and they failed on their way.
    QVERIFY2(pendingAtCrash > 0, qPrintable(QString::number(pendingAtCrash)));
    QVERIFY(room.channelErrors() > errorsBeforeCrash);
    QVERIFY(room.finalsRetried() > 0);
    // Nobody gave up, nobody was told of a delivery that had not happened.
    QCOMPARE(room.failures(), 0);
    QVERIFY2(room.problems().isEmpty(), qPrintable(room.problems().join(u'\n')));
    QCOMPARE(room.finalsDelivered(), kExaminees);
    verifyFinalCollection(console, room);
    if (QTest::currentTestFailed())
        return;

    qInfo("service down for %lld ms, crashed with %d final records delivered and %d on their "
          "way; %d failed transfers retried; %d final records failed at least once and arrived; "
          "longest wait for a final upload %lld ms",
          outageMillis, deliveredAtCrash, pendingAtCrash, room.channelErrors(),
          room.finalsRetried(), room.longestFinalWaitMillis());
}

QTEST_GUILESS_MAIN(TestClassroom)
#include "tst_classroom.moc"
