// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A classroom uploading its results through the real channel and FTP service
// while the console collects every 200 ms. KESTRIX_CLASSROOM_EXAMINEES=N runs
// N examinees instead of 200 (ctest stops a test after 5 minutes).
#include "ftpservice.h"
#include "exchange/numbers.h"
#include "collect/resultcollector.h"
#include "transfer/recordstamp.h"
#include "transfer/resultupload.h"
#include "testrecords.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kPoolSize = 50;
constexpr int kFinal = 3;  // zero record, two progress versions, final record

// Quarters are exact in a single, so every figure survives the round trip and
// every version of every examinee differs from all others.
ResultRecord record(int index, int version)
{
    const float v = float(version), i = float(index);
    return sampleRecord(QStringLiteral("计算机%1班").arg(index % 4 + 1),
                        QStringLiteral("%1").arg(index, 4, 10, QLatin1Char('0')),
                        QStringLiteral("考生 %1号").arg(index), version ? 10 * v + 0.25f * i : 0,
                        version ? 80 + 5 * v - 0.25f * float(index % 20) : 0,
                        qint16(200 * version));
}

// Which version of its examinee a collected row is; -1 when none.
int versionOf(const ResultRow &row)
{
    for (int version = 0; version <= kFinal; ++version) {
        const ResultRecord r = record(row.examNumber.toInt(), version);
        if (row.department == r.department && row.examNumber == r.examNumber && row.name == r.name
            && row.speed == numbers::singleText(r.speed).toDouble()
            && row.accuracyLine == numbers::singleText(r.accuracy) && row.timePass == r.timePass)
            return version;
    }
    return -1;
}

struct Pupil
{
    Examinee who;
    std::unique_ptr<ResultUpload> upload;
    RecordStamp stamp;
    int saved = -1;
    int delivered = -1;
    int collected = -1;  // the version the last collection showed
    qint64 savedAt = 0;
};

// Each examinee saves its next version once the last one was delivered; at
// most kPoolSize examinees are busy at once. Whenever an upload says
// Delivered, the exchange folder must already hold that version.
struct Classroom
{
    std::vector<Pupil> pupils;
    QString server, exchange, work;
    int attempts = ResultUpload::kDefaultAttempts;
    std::function<void()> afterFinalSaved = [] {};
    int next = 0, active = 0, mostActive = 0, done = 0, transfers = 0, channelErrors = 0;
    int finalsSaved = 0, finalsDelivered = 0, collections = 0;
    qint64 longestFinalWait = 0, wallMillis = 0;
    QElapsedTimer clock {};
    QStringList problems {};

    int size() const { return int(pupils.size()); }

    void startNext()
    {
        while (active < kPoolSize && next < size()) {
            const int i = next++;
            const ResultRecord r = record(i, 0);
            pupils[size_t(i)].who = { server, r.department, r.examNumber, r.name, 10 };
            const QString folder = QDir(work).filePath(QString::number(i));
            QDir().mkpath(folder);
            auto *upload = new ResultUpload(folder);
            pupils[size_t(i)].upload.reset(upload);
            upload->setAttempts(attempts);
            QObject::connect(upload, &ResultUpload::stateChanged, upload,
                             [this, i](ResultUpload::State state) { onState(i, state); });
            QObject::connect(&upload->channel(), &TransferChannel::finished, upload,
                             [this](TransferChannel::Outcome outcome) {
                                 channelErrors += outcome != TransferChannel::Outcome::Completed;
                             });
            mostActive = std::max(mostActive, ++active);
            save(i, 0);
        }
    }

    // A record that cannot be written locally turns the upload Failed.
    void save(int i, int version)
    {
        Pupil &pupil = pupils[size_t(i)];
        pupil.saved = version;
        pupil.savedAt = clock.elapsed();
        pupil.upload->save(pupil.stamp.next(record(i, version)), pupil.who);
        if (version == kFinal) {
            ++finalsSaved;
            afterFinalSaved();
        }
    }

    void onState(int i, ResultUpload::State state)
    {
        Pupil &pupil = pupils[size_t(i)];
        if (state == ResultUpload::State::Delivered) {
            ++transfers;
            const QByteArray expected = record(i, pupil.saved).toRecordLines();
            // The stamp adds its progress lines after the ten.
            if (!readScrambled(QDir(exchange).filePath(resultFileName(pupil.who)))
                         .startsWith(expected))
                problems << QStringLiteral("%1: told %2 arrived too early").arg(i).arg(pupil.saved);
            pupil.delivered = pupil.saved;
            if (pupil.saved < kFinal)
                return save(i, pupil.saved + 1);
            ++finalsDelivered;
            longestFinalWait = std::max(longestFinalWait, clock.elapsed() - pupil.savedAt);
        } else if (state == ResultUpload::State::Failed) {
            problems << QStringLiteral("%1: version %2 failed").arg(i).arg(pupil.saved);
        } else {
            return;
        }
        --active;
        if (++done == size())
            wallMillis = clock.elapsed();
        startNext();
    }

    // Every row is one version of one examinee, between the one it was told is
    // delivered and the one it saved. A service that cannot rename over a file
    // has the old one deleted first: the examinee may be missing meanwhile.
    void collectAndCheck(ResultCollector &collector, ResultStore &store, bool mayMiss)
    {
        const CollectionReport report = collector.collect();
        ++collections;
        for (const SkippedFile &skipped : report.skipped) {
            // An examinee's first record is stored under its final name
            // directly; until it is whole the collector passes it over.
            const int i = skipped.name.section(u'-', 1, 1).toInt();
            const bool firstOnItsWay = i >= 0 && i < size() && pupils[size_t(i)].delivered < 0
                    && skipped.reason.startsWith(QStringLiteral("文件不完整"));
            if (!firstOnItsWay
                && (!mayMiss || !skipped.reason.startsWith(QStringLiteral("无法打开"))))
                problems << QStringLiteral("skipped %1: %2").arg(skipped.name, skipped.reason);
        }
        const auto rows = store.rowsInRankOrder();
        if (!report.ok() || !rows) {
            problems << report.problem + store.lastError();
            return;
        }
        std::vector<int> seen(pupils.size(), -1);
        for (const ResultRow &row : *rows) {
            const int version = versionOf(row), i = row.examNumber.toInt();
            if (version < 0 || i < 0 || i >= size() || seen[size_t(i)] >= 0)
                problems << QStringLiteral("row %1 unknown or twice").arg(row.examNumber);
            else
                seen[size_t(i)] = version;
        }
        for (int i = 0; i < size(); ++i) {
            Pupil &pupil = pupils[size_t(i)];
            const int got = seen[size_t(i)];
            // While a file is away its row keeps the figures last collected.
            const bool keptWhileAway = mayMiss && (got < 0 || got == pupil.collected);
            pupil.collected = std::max(pupil.collected, got);
            if ((got < pupil.delivered && !keptWhileAway) || got > pupil.saved)
                problems << QStringLiteral("%1: collected version %2, delivered %3, saved %4")
                                    .arg(i)
                                    .arg(got)
                                    .arg(pupil.delivered)
                                    .arg(pupil.saved);
        }
    }
};

}  // namespace

class TestClassroom : public QObject
{
    Q_OBJECT

private slots:
    void uploadsWhileConsoleCollects_data();
    void uploadsWhileConsoleCollects();
};

void TestClassroom::uploadsWhileConsoleCollects_data()
{
    QTest::addColumn<bool>("renameOverRefused");
    QTest::addColumn<bool>("killService");
    QTest::addRow("load") << false << false;
    QTest::addRow("load, service refuses to rename over a file") << true << false;
    QTest::addRow("service killed during the final uploads") << false << true;
}

void TestClassroom::uploadsWhileConsoleCollects()
{
    QFETCH(bool, renameOverRefused);
    QFETCH(bool, killService);
    QTemporaryDir exchange, work;
    FtpService service(exchange.path());
    service.setRenameOverExistingRefused(renameOverRefused);
    QVERIFY(service.start());
    const int wanted = qEnvironmentVariableIntValue("KESTRIX_CLASSROOM_EXAMINEES");
    const int examinees = wanted > 0 ? wanted : 200;
    Classroom room { std::vector<Pupil>(size_t(examinees)), service.address(), exchange.path(),
                     work.path() };
    ResultStore store(work.filePath(QStringLiteral("cj.mdb")));
    ResultCollector collector(exchange.path(), work.path(), store);
    QTimer collectTimer;
    connect(&collectTimer, &QTimer::timeout, &collectTimer,
            [&] { room.collectAndCheck(collector, store, renameOverRefused); });

    // Killed right after a final upload began with 24 others on their way,
    // back 3 s later; six attempts (1, 2, 4 ... s apart) outlast that.
    int pendingAtKill = -1;
    bool restarted = false;
    if (killService) {
        room.attempts = 6;
        room.afterFinalSaved = [&] {
            if (pendingAtKill >= 0 || room.finalsSaved - room.finalsDelivered < 25)
                return;
            pendingAtKill = room.finalsSaved - room.finalsDelivered;
            service.kill();
            QTimer::singleShot(3000, &collectTimer, [&] { restarted = service.start(); });
        };
    }
    room.clock.start();
    room.startNext();
    collectTimer.start(200);
    QTRY_VERIFY_WITH_TIMEOUT(room.done == examinees, std::max(100000, examinees * 500));
    collectTimer.stop();
    QVERIFY(room.collections > 0);
    room.collectAndCheck(collector, store, false);  // exactly every final record

    QVERIFY2(room.problems.isEmpty(), qPrintable(room.problems.mid(0, 20).join(u'\n')));
    QCOMPARE(room.finalsDelivered, examinees);
    QCOMPARE(room.transfers, examinees * (kFinal + 1));
    QCOMPARE(room.mostActive, std::min(examinees, kPoolSize));
    QVERIFY(!killService || (pendingAtKill > 0 && restarted));
    // The kill really hit transfers; fifty at once is no reason for one to fail.
    QCOMPARE(room.channelErrors > 0, killService);
    qInfo("%d examinees, %d transfers: %.1f s, %.1f transfers/s, longest final-upload wait %lld "
          "ms; %d collections; %d final records on their way at a kill, %d failed transfers",
          examinees, room.transfers, room.wallMillis / 1000.0,
          room.transfers * 1000.0 / double(std::max<qint64>(1, room.wallMillis)),
          room.longestFinalWait, room.collections, std::max(0, pendingAtKill), room.channelErrors);
}

QTEST_GUILESS_MAIN(TestClassroom)
#include "tst_classroom.moc"
