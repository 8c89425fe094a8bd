// The end of an exam in the real typing window against a real FTP service:
// the zero record at start-up, the record at time-up, and the exit dialogue
// that waits for the final record before the program ends.
#include "examexit.h"
#include "fakes.h"
#include "frmmain.h"
#include "ftpservice.h"
#include "gbk.h"
#include "resultrecord.h"
#include "transcode.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kWaitMillis = 15000;
const QString kResultName = QStringLiteral("计算机系-2026001-张三.zip");

struct Exam
{
    explicit Exam(FtpService &service, const QString &target, int minutes)
    {
        QFile file(folder.filePath(QStringLiteral("te.txt")));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write te.txt");
        file.write(gbk::encode(target));
        file.close();
        const Examinee examinee{service.address(), QStringLiteral("计算机系"), QStringLiteral("2026001"),
                                QStringLiteral("张三"), qint16(minutes)};
        FrmMainServices services;
        services.inputMethods = std::make_unique<FakeInputMethods>(&activated);
        services.messages = messages;
        services.runTimers = false;
        frm = std::make_unique<FrmMain>(examinee, folder.path(), std::move(services));
        // Retries come quickly here; the back-off itself is the upload's own test.
        frm->upload().setRetryScheduler([](int, std::function<void()> retry) {
            QTimer::singleShot(100, std::move(retry));
        });
        frm->show();
    }

    QPlainTextEdit *txtWrite() const { return frm->findChild<QPlainTextEdit *>(QStringLiteral("TxtWrite")); }
    QPushButton *cmdExit() const { return frm->findChild<QPushButton *>(QStringLiteral("CmdExit")); }
    void start() { QTest::keyClick(frm.get(), Qt::Key_Return); }
    bool delivered() const { return frm->upload().state() == ResultUpload::State::Delivered; }

    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> messages = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> frm;
};

ResultRecordReading uploaded(const FtpService &service)
{
    QFile file(QDir(service.folder()).filePath(kResultName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readResultRecord(transcodeBytes(file.readAll(), kExchangeKey));
}

}  // namespace

class TestExamEnd : public QObject
{
    Q_OBJECT

private slots:
    void zeroRecordAtStartUpAndLeavingBeforeEnter();
    void timeUpUploadsTheFigures();
    void exitWaitsForTheFinalRecord();
    void failedUploadKeepsTheExamineeHere();
    void closeBoxGoesThroughTheExitDialogue();
};

void TestExamEnd::zeroRecordAtStartUpAndLeavingBeforeEnter()
{
    FtpService service;
    QVERIFY(service.start());
    Exam exam(service, QStringLiteral("中文abc\r\n"), 5);
    QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);

    const ResultRecordReading zero = uploaded(service);
    QVERIFY(zero.ok());
    QCOMPARE(zero.record->speed, 0.0f);
    QCOMPARE(zero.accuracyLine, u"0"_qs);
    QCOMPARE(zero.record->targetLen, 7);
    QCOMPARE(zero.record->typedLen, 0);
    QCOMPARE(zero.record->xingMing, u"张三"_qs);
    // The exam text is gone from the working folder once it is in memory.
    QVERIFY(!QFile::exists(exam.folder.filePath(QStringLiteral("te.txt"))));

    QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
    exam.cmdExit()->click();
    QCOMPARE(left.count(), 1);
    QVERIFY(exam.messages->asked.isEmpty());
    QVERIFY(exam.messages->informed.isEmpty());
    QVERIFY(!exam.frm->isVisible());
}

void TestExamEnd::timeUpUploadsTheFigures()
{
    FtpService service;
    QVERIFY(service.start());
    const QString target = QString(50, u'a') + QStringLiteral("\r\n");
    Exam exam(service, target, 1);
    exam.start();
    QTest::keyClicks(exam.txtWrite(), QString(45, u'a') + QString(5, u'b'));
    for (int tick = 0; tick < 60; ++tick)
        exam.frm->onClockTick();

    QVERIFY(!exam.txtWrite()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
    const ResultRecordReading result = uploaded(service);
    QVERIFY(result.ok());
    QCOMPARE(result.record->speed, 45.0f);
    QCOMPARE(result.accuracyLine, u"90"_qs);
    QCOMPARE(int(result.record->timePass), 60);
    QCOMPARE(result.record->typedLen, 50);
    QVERIFY(exam.frm->findChild<QLabel *>(QStringLiteral("LblInfo"))->text().startsWith(u"考试结束，成绩已保存。"_qs));

    // After time-up the exit asks, and saves the same figures again.
    exam.messages->answer = true;
    QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
    exam.cmdExit()->click();
    QCOMPARE(exam.messages->asked, QStringList{confirmExitQuestion()});
    QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
    QCOMPARE(exam.messages->informed.last(), u"考试结束，成绩已保存。打字速度：45字／分钟，正确率：90％"_qs);
}

void TestExamEnd::exitWaitsForTheFinalRecord()
{
    FtpService service;
    QVERIFY(service.start());
    Exam exam(service, QStringLiteral("abcdef\r\n"), 10);
    QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
    exam.start();
    QTest::keyClicks(exam.txtWrite(), QStringLiteral("abc"));
    QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);

    // More than the final line break is missing: no exit yet.
    exam.cmdExit()->click();
    QCOMPARE(exam.messages->informed, QStringList{notFinishedMessage()});
    QCOMPARE(exam.frm->focusWidget(), exam.txtWrite());

    // Everything but the final line break typed: the question; No keeps typing.
    QTest::keyClicks(exam.txtWrite(), QStringLiteral("dxf"));
    exam.cmdExit()->click();
    QCOMPARE(exam.messages->asked.size(), 1);
    QVERIFY(exam.txtWrite()->isEnabled());
    QCOMPARE(left.count(), 0);

    // Slow the service so the final upload is seen in progress.
    service.stop();
    QVERIFY(service.start(40));
    exam.frm->onClockTick();
    exam.messages->answer = true;
    exam.cmdExit()->click();
    QVERIFY(!exam.txtWrite()->isEnabled());
    QVERIFY(!exam.cmdExit()->isEnabled());
    QCOMPARE(left.count(), 0);
    QVERIFY(exam.frm->findChild<QLabel *>(QStringLiteral("LblInfo"))->text().startsWith(u"考试结束，成绩正在上传"_qs));

    QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
    const ResultRecordReading result = uploaded(service);
    QVERIFY(result.ok());
    QCOMPARE(result.record->speed, 300.0f);  // 5 right in one second
    QCOMPARE(result.accuracyLine, u"83.33"_qs);
    QCOMPARE(exam.messages->informed.last(), u"考试结束，成绩已保存。打字速度：300字／分钟，正确率：83.33％"_qs);
}

void TestExamEnd::failedUploadKeepsTheExamineeHere()
{
    FtpService service;
    QVERIFY(service.start());
    Exam exam(service, QStringLiteral("ab\r\n"), 10);
    QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
    exam.frm->upload().setAttempts(2);
    exam.start();
    QTest::keyClicks(exam.txtWrite(), QStringLiteral("ab"));
    exam.frm->onClockTick();
    service.stop();

    QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
    exam.messages->answer = true;
    exam.cmdExit()->click();
    QTRY_VERIFY_WITH_TIMEOUT(exam.frm->upload().state() == ResultUpload::State::Failed, kWaitMillis);
    QCOMPARE(left.count(), 0);
    QVERIFY(exam.messages->informed.last().startsWith(u"考试结束，但成绩没有送到服务器！"_qs));
    QVERIFY(exam.cmdExit()->isEnabled());
    QVERIFY(exam.frm->isVisible());

    // With the service back, trying again delivers and ends the program.
    QVERIFY(service.start());
    exam.cmdExit()->click();
    QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
    QCOMPARE(uploaded(service).record->speed, 120.0f);
}

void TestExamEnd::closeBoxGoesThroughTheExitDialogue()
{
    FtpService service;
    QVERIFY(service.start());
    Exam exam(service, QStringLiteral("abcdef\r\n"), 10);
    exam.start();
    QTest::keyClicks(exam.txtWrite(), QStringLiteral("a"));
    QVERIFY(!exam.frm->close());
    QVERIFY(exam.frm->isVisible());
    QCOMPARE(exam.messages->informed, QStringList{notFinishedMessage()});
    QVERIFY(exam.txtWrite()->isEnabled());
}

QTEST_MAIN(TestExamEnd)
#include "tst_examend.moc"
