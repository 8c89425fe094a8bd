// The result on its way to the exchange folder: what arrives under which
// name, which record wins, how failures are retried and reported, and the
// exit decision and end text the typing window shows.
#include "examexit.h"
#include "ftpservice.h"
#include "resultupload.h"
#include "testfiles.h"
#include "transcode.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMillis = 20000;

ResultRecord recordWithSpeed(float speed, const Examinee &examinee)
{
    ResultRecord record;
    record.speed = speed;
    record.accuracy = 90;
    record.timePass = 60;
    record.targetLen = 502;
    record.typedLen = 50;
    record.banName = examinee.banName;
    record.xueHao = examinee.xueHao;
    record.xingMing = examinee.xingMing;
    return record;
}

QList<ResultUpload::State> statesIn(const QSignalSpy &spy)
{
    QList<ResultUpload::State> states;
    for (const QList<QVariant> &report : spy)
        states << report.at(0).value<ResultUpload::State>();
    return states;
}

}  // namespace

class TestResultUpload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savedRecordArrivesAndLocalFilesAreTidied();
    void newestRecordWinsWhileChannelIsBusy();
    void retriedUploadArrivesAfterServiceReturns();
    void failsForGoodAfterLastAttemptThenRetriesByHand();
    void entriesCannotLeaveExchangeFolder_data();
    void entriesCannotLeaveExchangeFolder();
    void finishTextTellsTheTruth_data();
    void finishTextTellsTheTruth();
    void exitDecision_data();
    void exitDecision();

private:
    QString local(const QString &name) const { return m_work->filePath(name); }
    QString exchange(const QString &name) const { return QDir(m_exchange).filePath(name); }
    void startUpload();

    std::unique_ptr<QTemporaryDir> m_root;  // holds the exchange folder, nothing else
    QString m_exchange;
    std::unique_ptr<FtpService> m_service;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<ResultUpload> m_upload;
    Examinee m_examinee;
    QList<std::function<void()>> m_retries;
};

void TestResultUpload::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    m_exchange = m_root->filePath(QStringLiteral("typedata"));
    QVERIFY(QDir().mkpath(m_exchange));
    m_service = std::make_unique<FtpService>(m_exchange);
    QVERIFY(m_service->start());
    m_work = std::make_unique<QTemporaryDir>();
    m_examinee = Examinee{m_service->address(), QStringLiteral("计算机系"), QStringLiteral("2023001"),
                          QStringLiteral("张三"), 20};
    m_retries.clear();
    startUpload();
}

void TestResultUpload::startUpload()
{
    m_upload = std::make_unique<ResultUpload>(m_work->path());
    // Retries wait for the test's word instead of a timer.
    m_upload->setRetryScheduler([this](int, std::function<void()> retry) { m_retries << retry; });
}

void TestResultUpload::cleanup()
{
    m_upload.reset();
    m_service.reset();
    m_work.reset();
    m_root.reset();
}

void TestResultUpload::savedRecordArrivesAndLocalFilesAreTidied()
{
    QVERIFY(writeFile(local(QStringLiteral("te.txt")), "exam text"));
    QVERIFY(writeFile(local(QStringLiteral("se.dll")), "settings"));
    const ResultRecord record = recordWithSpeed(45, m_examinee);
    QSignalSpy states(m_upload.get(), &ResultUpload::stateChanged);

    QVERIFY(m_upload->save(record, m_examinee));
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Delivered, kWaitMillis);
    QCOMPARE(statesIn(states),
             (QList<ResultUpload::State>{ResultUpload::State::Uploading, ResultUpload::State::Delivered}));

    const QString name = QStringLiteral("计算机系-2023001-张三.zip");
    QCOMPARE(filesIn(m_exchange), QStringList{name});
    const QByteArray uploaded = readFile(exchange(name));
    QCOMPARE(uploaded, transcodeBytes(record.toRecordLines(), kExchangeKey));
    // sc1.zip stays; the exam text, the settings and the plain record go.
    QCOMPARE(filesIn(m_work->path()), QStringList{QStringLiteral("sc1.zip")});
    QCOMPARE(readFile(local(QStringLiteral("sc1.zip"))), uploaded);
}

void TestResultUpload::newestRecordWinsWhileChannelIsBusy()
{
    m_service->stop();
    QVERIFY(m_service->start(40));  // a record takes seconds to travel
    QSignalSpy states(m_upload.get(), &ResultUpload::stateChanged);
    QSignalSpy channel(&m_upload->channel(), &TransferChannel::stateChanged);

    QVERIFY(m_upload->save(recordWithSpeed(0, m_examinee), m_examinee));
    QVERIFY(m_upload->channel().isBusy());
    QVERIFY(m_upload->save(recordWithSpeed(10, m_examinee), m_examinee));
    QVERIFY(m_upload->save(recordWithSpeed(20, m_examinee), m_examinee));
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Delivered, kWaitMillis);

    // The first record was already under way; the second never went out.
    QCOMPARE(channel.count(QVariantList{int(TransferChannel::Completed)}), 2);
    QCOMPARE(statesIn(states),
             (QList<ResultUpload::State>{ResultUpload::State::Uploading, ResultUpload::State::Delivered}));
    const ResultRecordReading arrived = readResultRecord(
        transcodeBytes(readFile(exchange(m_upload->remoteName())), kExchangeKey));
    QVERIFY(arrived.ok());
    QCOMPARE(arrived.record->speed, 20.0f);
}

void TestResultUpload::retriedUploadArrivesAfterServiceReturns()
{
    m_service->stop();
    QSignalSpy states(m_upload.get(), &ResultUpload::stateChanged);
    const ResultRecord record = recordWithSpeed(45, m_examinee);
    QVERIFY(m_upload->save(record, m_examinee));
    QTRY_COMPARE_WITH_TIMEOUT(m_retries.size(), 1, kWaitMillis);
    QCOMPARE(m_upload->state(), ResultUpload::State::Uploading);
    QVERIFY(filesIn(m_exchange).isEmpty());

    QVERIFY(m_service->start());
    m_retries.takeFirst()();
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Delivered, kWaitMillis);
    QCOMPARE(statesIn(states),
             (QList<ResultUpload::State>{ResultUpload::State::Uploading, ResultUpload::State::Delivered}));
    QCOMPARE(readFile(exchange(m_upload->remoteName())),
             transcodeBytes(record.toRecordLines(), kExchangeKey));
}

void TestResultUpload::failsForGoodAfterLastAttemptThenRetriesByHand()
{
    m_service->stop();
    m_upload->setAttempts(3);
    QSignalSpy states(m_upload.get(), &ResultUpload::stateChanged);
    QVERIFY(m_upload->save(recordWithSpeed(45, m_examinee), m_examinee));
    for (int retry = 1; retry <= 2; ++retry) {
        QTRY_COMPARE_WITH_TIMEOUT(m_retries.size(), 1, kWaitMillis);
        QCOMPARE(m_upload->state(), ResultUpload::State::Uploading);
        m_retries.takeFirst()();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Failed, kWaitMillis);
    QVERIFY(m_retries.isEmpty());
    QCOMPARE(statesIn(states),
             (QList<ResultUpload::State>{ResultUpload::State::Uploading, ResultUpload::State::Failed}));

    QVERIFY(m_service->start());
    m_upload->retry();
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Delivered, kWaitMillis);
    QCOMPARE(filesIn(m_exchange), QStringList{m_upload->remoteName()});
}

void TestResultUpload::entriesCannotLeaveExchangeFolder_data()
{
    QTest::addColumn<QString>("banName");
    QTest::addColumn<QString>("xueHao");
    QTest::addColumn<QString>("xingMing");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("parent folder") << QStringLiteral("../x") << QStringLiteral("1") << QStringLiteral("a")
                                   << QStringLiteral("___x-1-a.zip");
    QTest::newRow("leading dots only")
        << QStringLiteral("..x") << QStringLiteral("1") << QStringLiteral("a")
        << QStringLiteral("__x-1-a.zip");
    QTest::newRow("subfolder") << QStringLiteral("a/b") << QStringLiteral("..\\..") << QStringLiteral("c")
                               << QStringLiteral("a_b-.._..-c.zip");
    QTest::newRow("signs no file name holds")
        << QStringLiteral("C:系") << QStringLiteral("*?\"<>|") << QStringLiteral("名\t字\x01")
        << QStringLiteral("C_系-______-名_字_.zip");
    QTest::newRow("blanks and dashes stay")
        << QStringLiteral(" 一 班 ") << QStringLiteral("20-23") << QStringLiteral("张 三")
        << QStringLiteral(" 一 班 -20-23-张 三.zip");
}

void TestResultUpload::entriesCannotLeaveExchangeFolder()
{
    QFETCH(QString, banName);
    QFETCH(QString, xueHao);
    QFETCH(QString, xingMing);
    QFETCH(QString, fileName);
    const Examinee examinee{m_service->address(), banName, xueHao, xingMing, 20};
    QCOMPARE(resultFileName(examinee), fileName);

    QVERIFY(m_upload->save(recordWithSpeed(45, examinee), examinee));
    QTRY_COMPARE_WITH_TIMEOUT(m_upload->state(), ResultUpload::State::Delivered, kWaitMillis);
    QCOMPARE(filesIn(m_root->path()), QStringList{QStringLiteral("typedata")});
    QCOMPARE(filesIn(m_exchange), QStringList{fileName});
    // The record itself keeps the entries exactly as typed.
    const ResultRecordReading arrived =
        readResultRecord(transcodeBytes(readFile(exchange(fileName)), kExchangeKey));
    QVERIFY(arrived.ok());
    QCOMPARE(arrived.record->banName, banName);
    QCOMPARE(arrived.record->xueHao, xueHao);
    QCOMPARE(arrived.record->xingMing, xingMing);
}

void TestResultUpload::finishTextTellsTheTruth_data()
{
    QTest::addColumn<ResultUpload::State>("state");
    QTest::addColumn<float>("speed");
    QTest::addColumn<float>("accuracy");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("delivered") << ResultUpload::State::Delivered << 45.0f << 90.0f << QStringLiteral("C")
                               << QStringLiteral("考试结束，成绩已保存。打字速度：45字／分钟，正确率：90％");
    QTest::newRow("locale decimal comma")
        << ResultUpload::State::Delivered << 56.25f << 98.5f << QStringLiteral("de_DE")
        << QStringLiteral("考试结束，成绩已保存。打字速度：56,25字／分钟，正确率：98,5％");
    QTest::newRow("uploading") << ResultUpload::State::Uploading << 0.0f << 0.0f << QStringLiteral("C")
                               << QStringLiteral("考试结束，成绩正在上传，请稍候。打字速度：0字／分钟，正确率：0％");
    QTest::newRow("failed")
        << ResultUpload::State::Failed << 33.5f << 100.0f << QStringLiteral("zh_CN")
        << QStringLiteral("考试结束，但成绩没有送到服务器！请报告监考老师，然后再试一次。打字速度：33.5字／分钟，正确率：100％");
}

void TestResultUpload::finishTextTellsTheTruth()
{
    QFETCH(ResultUpload::State, state);
    QFETCH(float, speed);
    QFETCH(float, accuracy);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QCOMPARE(finishText(state, speed, accuracy, QLocale(locale)), text);
}

void TestResultUpload::exitDecision_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("typedLen");
    QTest::addColumn<int>("targetLen");
    QTest::addColumn<bool>("clockRunning");
    QTest::addColumn<ExitDecision>("decision");
    QTest::newRow("before Enter") << false << 0 << 502 << false << ExitDecision::LeaveAtOnce;
    QTest::newRow("before Enter, text typed") << false << 600 << 502 << true << ExitDecision::LeaveAtOnce;
    QTest::newRow("three characters left") << true << 499 << 502 << true << ExitDecision::NotFinished;
    QTest::newRow("all but the final line break") << true << 500 << 502 << true << ExitDecision::AskToConfirm;
    QTest::newRow("typed beyond the target") << true << 510 << 502 << true << ExitDecision::AskToConfirm;
    QTest::newRow("time is up") << true << 3 << 502 << false << ExitDecision::AskToConfirm;
    QTest::newRow("lowest target length")
        << true << 0 << std::numeric_limits<int>::min() << true
        << ExitDecision::AskToConfirm;
}

void TestResultUpload::exitDecision()
{
    QFETCH(bool, started);
    QFETCH(int, typedLen);
    QFETCH(int, targetLen);
    QFETCH(bool, clockRunning);
    QFETCH(ExitDecision, decision);
    QCOMPARE(decideExit(started, typedLen, targetLen, clockRunning), decision);
}

QTEST_GUILESS_MAIN(TestResultUpload)
#include "tst_resultupload.moc"
