// Faults on the console's side: a console killed in the middle of a
// collection leaves the results database whole, holding either the table
// before that collection or the one it made; an exchange folder that cannot
// be written keeps login closed and says so.
#include "logingate.h"
#include "resultrecord.h"
#include "resultstore.h"
#include "transcode.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kNewFiles = 2000;
constexpr int kWaitMillis = 30000;

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

ResultRow newRow(int index)
{
    ResultRow row;
    row.banName = QStringLiteral("计算机%1班").arg(index % 8 + 1);
    row.xueHao = QStringLiteral("%1").arg(index, 4, 10, QLatin1Char('0'));
    row.xingMing = QStringLiteral("考生%1").arg(index);
    row.speed = 20 + 0.25 * index;
    row.zhengQueLv = QString::number(90 + (index % 40) * 0.25);
    row.timePass = qint16(600 - index % 60);
    return row;
}

QByteArray newResultFile(int index)
{
    const ResultRow row = newRow(index);
    ResultRecord record;
    record.speed = float(row.speed);
    record.accuracy = row.zhengQueLv.toFloat();
    record.timePass = row.timePass;
    record.targetLen = 900;
    record.typedLen = 850;
    record.banName = row.banName;
    record.xueHao = row.xueHao;
    record.xingMing = row.xingMing;
    return transcodeBytes(record.toRecordLines(), kExchangeKey);
}

QVector<ResultRow> oldRows()
{
    QVector<ResultRow> rows;
    for (int i = 1; i <= 3; ++i) {
        ResultRow row;
        row.recNo = i;
        row.banName = QStringLiteral("上一场");
        row.xueHao = QStringLiteral("旧%1").arg(i);
        row.xingMing = QStringLiteral("旧考生%1").arg(i);
        row.speed = 100 - i;
        row.zhengQueLv = QStringLiteral("99.5");
        row.timePass = 300;
        rows << row;
    }
    return rows;
}

bool sameRow(const ResultRow &a, const ResultRow &b)
{
    return a.banName == b.banName && a.xueHao == b.xueHao && a.xingMing == b.xingMing
           && a.speed == b.speed && a.zhengQueLv == b.zhengQueLv && a.timePass == b.timePass;
}

enum class TableHolds { OldRows, NewRows, Neither };

TableHolds whatTableHolds(const QVector<ResultRow> &rows)
{
    const QVector<ResultRow> old = oldRows();
    if (rows.size() == old.size()
        && std::equal(rows.begin(), rows.end(), old.begin(), [](const auto &a, const auto &b) {
               return sameRow(a, b) && a.recNo == b.recNo;
           }))
        return TableHolds::OldRows;
    if (rows.size() != kNewFiles)
        return TableHolds::Neither;
    QVector<bool> seen(kNewFiles, false);
    QVector<bool> numbered(kNewFiles, false);
    for (const ResultRow &row : rows) {
        const int index = row.xueHao.toInt();
        const int recNo = row.recNo;
        if (index < 0 || index >= kNewFiles || seen[index] || !sameRow(row, newRow(index))
            || recNo < 1 || recNo > kNewFiles || numbered[recNo - 1])
            return TableHolds::Neither;
        seen[index] = true;
        numbered[recNo - 1] = true;
    }
    return TableHolds::NewRows;
}

// Makes a folder unwritable even for root, where permission bits do not
// stop anyone: the immutable attribute does. Undone when it goes.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(QString folder) : m_folder(std::move(folder))
    {
        m_set = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_folder}) == 0;
    }
    ~ImmutableFolder()
    {
        if (m_set)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
    }
    // True when a new file really cannot be made in the folder.
    bool holds() const
    {
        QFile probe(QDir(m_folder).filePath(QStringLiteral("probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }

private:
    QString m_folder;
    bool m_set = false;
};

}  // namespace

class TestConsoleFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void killedCollectionLeavesAWholeTable_data();
    void killedCollectionLeavesAWholeTable();
    void unwritableExchangeFolderKeepsLoginClosed_data();
    void unwritableExchangeFolderKeepsLoginClosed();

private:
    // Starts one collection into `database`; false when it never began.
    bool startCollection(QProcess &process, const QString &database, const QString &appFolder);

    QTemporaryDir m_exchange;
    qint64 m_collectMillis = 0;
};

void TestConsoleFaults::initTestCase()
{
    QVERIFY(m_exchange.isValid());
    for (int i = 0; i < kNewFiles; ++i) {
        const ResultRow row = newRow(i);
        QVERIFY(writeBytes(m_exchange.filePath(row.banName + u'-' + row.xueHao + u'-' + row.xingMing
                                               + QStringLiteral(".zip")),
                           newResultFile(i)));
    }
    // How long a whole collection takes here, so that the kills below land
    // all through it whatever the machine.
    QTemporaryDir work;
    QProcess process;
    QVERIFY(startCollection(process, work.filePath(QStringLiteral("cj.mdb")), work.path()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(process.waitForFinished(kWaitMillis));
    m_collectMillis = clock.elapsed();
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("rows 2000"));
    ResultStore store(work.filePath(QStringLiteral("cj.mdb")));
    const auto rows = store.rowsInRankOrder();
    QVERIFY(rows);
    QVERIFY(whatTableHolds(*rows) == TableHolds::NewRows);
    qInfo("one collection of %d files takes %lld ms", kNewFiles, m_collectMillis);
}

bool TestConsoleFaults::startCollection(QProcess &process, const QString &database,
                                        const QString &appFolder)
{
    process.start(QStringLiteral(KESTRIX_COLLECT_ONCE), {m_exchange.path(), appFolder, database});
    if (!process.waitForStarted(kWaitMillis))
        return false;
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(kWaitMillis))
            return false;
    }
    return process.readLine().trimmed() == "started";
}

void TestConsoleFaults::killedCollectionLeavesAWholeTable_data()
{
    // Killed either a share of a whole collection's time after it began, or
    // as soon as its commit has written more than so many bytes of the
    // database's write-ahead log.
    QTest::addColumn<int>("percentOfCollection");
    QTest::addColumn<qint64>("logBytes");
    for (int percent : {0, 20, 40, 60, 70, 75, 80, 85, 88, 91, 94, 97, 100, 110})
        QTest::addRow("at %d%% of its time", percent) << percent << qint64(-1);
    for (qint64 bytes : {0, 4096, 32768, 65536})
        QTest::addRow("log past %lld bytes", bytes) << -1 << bytes;
}

void TestConsoleFaults::killedCollectionLeavesAWholeTable()
{
    QFETCH(int, percentOfCollection);
    QFETCH(qint64, logBytes);
    QTemporaryDir work;
    const QString database = work.filePath(QStringLiteral("cj.mdb"));
    {
        ResultStore store(database);
        QVERIFY(store.replaceAll(oldRows()));
    }

    QProcess process;
    QVERIFY(startCollection(process, database, work.path()));
    bool killed = false;
    QString moment;
    if (percentOfCollection >= 0) {
        const int delay = int(m_collectMillis * percentOfCollection / 100);
        moment = QStringLiteral("%1 ms of about %2 ms").arg(delay).arg(m_collectMillis);
        QEventLoop loop;
        connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(delay, Qt::PreciseTimer, &loop, [&] {
            if (process.state() == QProcess::Running) {
                process.kill();  // SIGKILL
                killed = true;
            }
        });
        QTimer::singleShot(kWaitMillis, &loop, &QEventLoop::quit);
        if (process.state() == QProcess::Running)
            loop.exec();
    } else {
        // The commit writes the log in a fraction of a millisecond: only
        // watching the file without pause catches it part-way.
        const QString log = database + QStringLiteral("-wal");
        QElapsedTimer clock;
        clock.start();
        while (!process.waitForFinished(0) && clock.elapsed() < kWaitMillis) {
            const qint64 size = QFileInfo(log).size();
            if (size > logBytes) {
                process.kill();
                killed = true;
                moment = QStringLiteral("a log of %1 bytes").arg(size);
                break;
            }
        }
        if (moment.isEmpty())
            moment = QStringLiteral("no log past %1 bytes").arg(logBytes);
    }
    QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(kWaitMillis));
    killed = killed && process.exitStatus() == QProcess::CrashExit;
    // A commit writes far more than these few pages: the kill came in its middle.
    if (logBytes >= 0)
        QVERIFY2(killed, qPrintable(moment));

    // The next start of the console.
    ResultStore store(database);
    QVERIFY2(store.isOpen(), qPrintable(store.lastError()));
    QSqlQuery check(store.database());
    QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
    QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
    const auto rows = store.rowsInRankOrder();
    QVERIFY2(rows, qPrintable(store.lastError()));
    const TableHolds holds = whatTableHolds(*rows);
    QVERIFY2(holds != TableHolds::Neither, qPrintable(QString::number(rows->size())));
    // A collection that ran to its end has replaced the table.
    if (!killed)
        QVERIFY(holds == TableHolds::NewRows);
    qInfo("%s at %s: the table holds the %s rows", killed ? "killed" : "finished before the kill",
          qUtf8Printable(moment), holds == TableHolds::OldRows ? "3 old" : "2000 new");
}

void TestConsoleFaults::unwritableExchangeFolderKeepsLoginClosed_data()
{
    // What an earlier exam left in the folder before it became unwritable.
    QTest::addColumn<QStringList>("leftBehind");
    QTest::addRow("empty folder") << QStringList();
    QTest::addRow("exam text left") << QStringList{QStringLiteral("te.txt")};
    QTest::addRow("exam text and settings left")
        << QStringList{QStringLiteral("se.dll"), QStringLiteral("te.txt")};
}

void TestConsoleFaults::unwritableExchangeFolderKeepsLoginClosed()
{
    QFETCH(QStringList, leftBehind);
    QTemporaryDir app;
    QTemporaryDir exchange;
    QVERIFY(writeBytes(app.filePath(QStringLiteral("test.txt")), "ab\r\n"));
    QVERIFY(writeBytes(app.filePath(QStringLiteral("time.txt")), "20\r\n"));
    for (const QString &name : leftBehind)
        QVERIFY(writeBytes(exchange.filePath(name), "old\r\n"));

    const ImmutableFolder readOnly(exchange.path());
    if (!readOnly.holds())
        QSKIP("this machine offers no way to make a folder unwritable for this user");

    LoginGate gate(app.path(), exchange.path());
    QCOMPARE(gate.readiness(), LoginGate::Readiness::Ready);
    const QString problem = gate.open(20);
    QVERIFY2(problem.contains(QDir::toNativeSeparators(exchange.filePath(QStringLiteral("te.txt")))),
             qPrintable(problem));
    // Nothing new was published, and no scratch file stays behind.
    QCOMPARE(QDir(exchange.path()).entryList(QDir::Files | QDir::Hidden), leftBehind);
    QCOMPARE(QDir(app.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("test.txt"), QStringLiteral("time.txt")}));
    // Login is open exactly while a settings file lies in the folder: one that
    // cannot be taken back still lets examinees in, and the examiner is told.
    if (leftBehind.contains(QStringLiteral("se.dll"))) {
        QVERIFY(gate.isOpen());
        QVERIFY2(problem.startsWith(QStringLiteral("开放登录失败，但考生仍可登录：")),
                 qPrintable(problem));
        QVERIFY2(problem.contains(QDir::toNativeSeparators(exchange.filePath(QStringLiteral("se.dll")))),
                 qPrintable(problem));
    } else {
        QVERIFY(!gate.isOpen());
        QVERIFY2(problem.startsWith(QStringLiteral("开放登录失败，考生仍不能登录。\n")),
                 qPrintable(problem));
    }
}

QTEST_GUILESS_MAIN(TestConsoleFaults)
#include "tst_consolefaults.moc"
