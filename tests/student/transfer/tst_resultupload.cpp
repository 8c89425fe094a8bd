// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Records on their way to a real FTP service and into the console's real
// collection: names that must arrive, a service that stores new files only,
// and a full client disk.
#include "collect/resultcollector.h"
#include "collect/resultstore.h"
#include "transfer/recordstamp.h"
#include "transfer/resultupload.h"
#include "ftpservice.h"
#include "smalldisk.h"
#include "testfiles.h"
#include "testrecords.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWaitMillis = 20000;

ResultRecord recordFor(const Examinee &who, float speed,
                       ResultProgress::Phase phase = ResultProgress::Phase::Typing)
{
    ResultRecord record;
    record.speed = speed;
    record.accuracy = 100;
    record.targetLen = 100;
    record.department = who.department;
    record.examNumber = who.examNumber;
    record.name = who.name;
    record.progress = ResultProgress { 0, QString(), phase, 7 };
    return record;
}

// Saves a record and waits until it has arrived or failed for good.
ResultUpload::State send(ResultUpload &upload, const ResultRecord &record, const Examinee &who)
{
    if (!upload.save(record, who).isEmpty())
        return upload.state();
    // A wait that runs out returns Uploading, which the caller's check refuses.
    (void)QTest::qWaitFor([&] { return upload.state() != ResultUpload::State::Uploading; },
                          kWaitMillis);
    return upload.state();
}

ResultRecordReading remoteRecord(const FtpService &service, const QString &name)
{
    return readResultFile(QDir(service.folder()).filePath(name));
}

QString repeated(const QString &piece, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

}  // namespace

class TestResultUpload : public QObject
{
    Q_OBJECT
private slots:
    void entriesArriveAndAreCollected_data()
    {
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("examNumber");
        QTest::addColumn<QString>("name");
        QTest::newRow("department a dot") << u"."_qs << u"01"_qs << u"张三"_qs;
        QTest::newRow("department starting with a dot") << u".net班"_qs << u"02"_qs << u"李四"_qs;
        QTest::newRow("85-character name") << u"计算机系"_qs << u"03"_qs << repeated(u"名"_qs, 85);
        QTest::newRow("85 characters everywhere")
                << repeated(u"系"_qs, 85) << repeated(u"号"_qs, 85)
                << repeated(u"名"_qs, 84) + u"甲"_qs;
    }
    void entriesArriveAndAreCollected()
    {
        QFETCH(QString, department);
        QFETCH(QString, examNumber);
        QFETCH(QString, name);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        const Examinee who { service.address(), department, examNumber, name, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        QCOMPARE(send(upload, recordFor(who, 55), who), ResultUpload::State::Delivered);
        QVERIFY(!upload.remoteName().startsWith(u'.'));
        QVERIFY(upload.remoteName().toUtf8().size() <= 200);
        // A name one character apart gets its own file.
        Examinee other = who;
        other.name.chop(1);
        QVERIFY(resultFileName(other) != upload.remoteName());

        ResultStore store(work.filePath(u"cj.mdb"_qs));
        const CollectionReport report =
                ResultCollector(service.folder(), work.path(), store).collect();
        QVERIFY2(report.ok() && report.skipped.isEmpty(),
                 qPrintable(skippedFilesMessage(report.skipped)));
        const QVector<ResultRow> rows = store.rowsInRankOrder().value_or(QVector<ResultRow>());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].department, department);
        QCOMPARE(rows[0].examNumber, examNumber);
        QCOMPARE(rows[0].name, name);
        QCOMPARE(rows[0].speed, 55.0);
    }

    void writeOnceServiceGetsANewNamePerRecord()
    {
        FtpService service;
        service.setWriteOnce(true);
        QVERIFY(service.start());
        QTemporaryDir work;
        const QByteArray othersRecord = "someone else's record";
        QVERIFY(writeFile(QDir(service.folder()).filePath(u"系-02-李四.zip"_qs), othersRecord));
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        RecordStamp session;
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(send(upload, session.next(recordFor(who, float(i))), who),
                     ResultUpload::State::Delivered);
        QVERIFY(upload.writeOnce());
        // An examinee who logs in again skips the names taken before.
        ResultUpload again(work.path());
        RecordStamp sessionAgain;
        QCOMPARE(send(again, sessionAgain.next(recordFor(who, 4, ResultProgress::Phase::Finished)),
                      who),
                 ResultUpload::State::Delivered);

        const QStringList expected { u"系-01-张三.zip"_qs, u"系-01-张三~2.zip"_qs,
                                     u"系-01-张三~3.zip"_qs, u"系-01-张三~4.zip"_qs };
        for (int i = 0; i < expected.size(); ++i) {
            const ResultRecordReading reading = remoteRecord(service, expected[i]);
            QVERIFY2(reading.ok(), qPrintable(expected[i]));
            QCOMPARE(reading.record->speed, float(i + 1));
            QCOMPARE(reading.record->progress->sequence, i < 3 ? i + 1 : 1);
            QCOMPARE(reading.record->progress->sessionId,
                     i < 3 ? session.sessionId() : sessionAgain.sessionId());
        }
        QVERIFY(session.sessionId() != sessionAgain.sessionId());
        QCOMPARE(readFile(QDir(service.folder()).filePath(u"系-02-李四.zip"_qs)), othersRecord);
    }

    // A folder someone made under the examinee's name takes that name: the
    // records go under the next free one, and the console's collection
    // reads them as the examinee's.
    void folderTakesTheName_data()
    {
        QTest::addColumn<bool>("writeOnce");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("plain name")
                << false << u"一班-A19-秦一.zip"_qs << QStringList { u"一班-A19-秦一~2.zip"_qs };
        QTest::newRow("write-once, ~2")
                << true << u"一班-A19-秦一~2.zip"_qs
                << QStringList { u"一班-A19-秦一.zip"_qs, u"一班-A19-秦一~3.zip"_qs };
    }
    void folderTakesTheName()
    {
        QFETCH(bool, writeOnce);
        QFETCH(QString, folder);
        FtpService service;
        service.setWriteOnce(writeOnce);
        QVERIFY(service.start());
        QVERIFY(QDir(service.folder()).mkdir(folder));
        QTemporaryDir work;
        const Examinee who { service.address(), u"一班"_qs, u"A19"_qs, u"秦一"_qs, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        RecordStamp session;
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(send(upload, session.next(recordFor(who, float(i))), who),
                     ResultUpload::State::Delivered);
        QCOMPARE(upload.writeOnce(), writeOnce);
        QTEST(QDir(service.folder()).entryList(QDir::Files, QDir::Name), "files");

        ResultStore store(work.filePath(u"cj.mdb"_qs));
        QVERIFY(ResultCollector(service.folder(), work.path(), store).collect().ok());
        const QVector<ResultRow> rows = store.rowsInRankOrder().value_or(QVector<ResultRow>());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, u"秦一"_qs);
        QCOMPARE(rows[0].speed, 2.0);
    }

    void failedUploadTakesNoName()
    {
        FtpService service;
        service.setWriteOnce(true);
        QVERIFY(service.start());
        QTemporaryDir work;
        Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10 };
        ResultUpload upload(work.path());
        upload.setAttempts(1);
        RecordStamp session;
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(send(upload, session.next(recordFor(who, float(i))), who),
                     ResultUpload::State::Delivered);
        service.stop();
        QCOMPARE(send(upload, session.next(recordFor(who, 3)), who), ResultUpload::State::Failed);
        FtpService again(service.folder());
        again.setWriteOnce(true);
        QVERIFY(again.start());
        who.serverIP = again.address();
        QCOMPARE(send(upload, session.next(recordFor(who, 4)), who),
                 ResultUpload::State::Delivered);
        QCOMPARE(QDir(service.folder()).entryList(QDir::Files, QDir::Name),
                 (QStringList { u"系-01-张三.zip"_qs, u"系-01-张三~2.zip"_qs,
                                u"系-01-张三~3.zip"_qs }));
        QCOMPARE(remoteRecord(again, u"系-01-张三~3.zip"_qs).record->speed, 4.0f);
    }

    // Records written on a worker, two due: the first, written or not, is
    // neither sent (the console would only see it superseded) nor
    // reported; the second is.
    void firstOfTwoDueGivesWayToTheSecond_data()
    {
        QTest::addColumn<bool>("firstWritten");
        QTest::newRow("first written") << true;
        QTest::newRow("first not written") << false;
    }
    void firstOfTwoDueGivesWayToTheSecond()
    {
        QFETCH(bool, firstWritten);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        upload.expectRecord();
        upload.expectRecord();
        const wholefile::Reading first = firstWritten
                ? ResultUpload::writeLocal(work.path(), recordFor(who, 1))
                : wholefile::Reading { std::nullopt, u"无法写入 sc1.zip"_qs };
        QCOMPARE(upload.sendWritten(first, who), first.problem);
        QCOMPARE(upload.state(), ResultUpload::State::Uploading);
        QVERIFY(!upload.channel().isBusy());
        const wholefile::Reading written = ResultUpload::writeLocal(work.path(), recordFor(who, 7));
        QCOMPARE(upload.sendWritten(written, who), QString());
        QTRY_COMPARE_WITH_TIMEOUT(upload.state(), ResultUpload::State::Delivered, kWaitMillis);
        QCOMPARE(remoteRecord(service, upload.remoteName()).record->speed, 7.0f);
    }

    // The newest record is handed over while an earlier one is on its way:
    // what goes out is what was written, whatever sc1.zip holds by then, and
    // one that could not be written stays Failed when the earlier arrives.
    void newestRecordCountsWhileAnEarlierIsOnItsWay_data()
    {
        QTest::addColumn<bool>("newestWritten");
        QTest::addColumn<ResultUpload::State>("outcome");
        QTest::addColumn<float>("arrivedSpeed");
        QTest::newRow("written") << true << ResultUpload::State::Delivered << 2.0f;
        QTest::newRow("not written") << false << ResultUpload::State::Failed << 1.0f;
    }
    void newestRecordCountsWhileAnEarlierIsOnItsWay()
    {
        QFETCH(bool, newestWritten);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        upload.setAttempts(1);
        QCOMPARE(upload.save(recordFor(who, 1), who), QString());
        upload.expectRecord();
        const wholefile::Reading newest = newestWritten
                ? ResultUpload::writeLocal(work.path(), recordFor(who, 2))
                : wholefile::Reading { std::nullopt, u"无法写入 sc1.zip"_qs };
        // Taken away, as the writer replacing it with the next record may.
        QVERIFY(QFile::remove(QDir(work.path()).filePath(u"sc1.zip"_qs)));
        upload.sendWritten(newest, who);
        QTRY_VERIFY_WITH_TIMEOUT(!upload.channel().isBusy()
                                         && upload.state() != ResultUpload::State::Uploading,
                                 kWaitMillis);
        QTEST(upload.state(), "outcome");
        QTEST(remoteRecord(service, resultFileName(who)).record->speed, "arrivedSpeed");
    }

    void fullClientDiskKeepsTheGoodRecordOnTheService()
    {
        SmallDisk work(64);
        if (!work.isMounted())
            QSKIP(qPrintable(work.problem()));
        FtpService service;
        QVERIFY(service.start());
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        ResultUpload upload(work.path());
        QCOMPARE(send(upload, recordFor(who, 30), who), ResultUpload::State::Delivered);
        const QByteArray good = readFile(QDir(service.folder()).filePath(upload.remoteName()));
        QVERIFY(work.fill());

        QVERIFY(!upload.save(recordFor(who, 99, ResultProgress::Phase::Finished), who).isEmpty());
        QCOMPARE(upload.state(), ResultUpload::State::Failed);
        QVERIFY(upload.localRecordPath().isEmpty());  // sc1.zip holds the older record
        QTest::qWait(500);  // nothing may be on its way
        QVERIFY(!upload.channel().isBusy());
        QCOMPARE(readFile(QDir(service.folder()).filePath(upload.remoteName())), good);
    }
};

QTEST_GUILESS_MAIN(TestResultUpload)
#include "tst_resultupload.moc"
