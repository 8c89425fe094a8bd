// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The end of an exam in the real typing window against a real FTP service:
// the zero record at start-up, the record at time-up, and the exit dialogue
// that waits for the final record before the program ends.
#include "fakes.h"
#include "ftpservice.h"
#include "testrecords.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QVariantList>

namespace {

constexpr int kWaitMillis = 15000;

struct Exam : TypingExam
{
    Exam(FtpService &service, const QString &target, int minutes = 10)
        : TypingExam(target, minutes, service.address())
    {
    }
    bool startAfterTheZeroRecord()
    {
        const bool arrived = QTest::qWaitFor([this] { return delivered(); }, kWaitMillis);
        QTest::keyClick(frm.get(), Qt::Key_Return);
        return arrived;
    }
    QPushButton *cmdExit() const { return childOf<QPushButton>(frm.get(), "CmdExit"); }
    QString lblInfo() const { return childOf<QLabel>(frm.get(), "LblInfo")->text(); }
    QString statusNote() const { return childOf<QLabel>(frm.get(), "Panel4")->text(); }
    bool delivered() const { return frm->upload().state() == ResultUpload::State::Delivered; }
};

ResultRecordReading uploaded(const FtpService &service)
{
    return readResultFile(
            QDir(service.folder()).filePath(QStringLiteral("计算机系-2026001-张三.zip")));
}

}  // namespace

class TestExamEnd : public QObject
{
    Q_OBJECT
private slots:
    void zeroRecordThenTimeUpReplacesIt()
    {
        FtpService service;
        QVERIFY(service.start());
        Exam exam(service, QString(50, u'a') + QStringLiteral("\r\n"), 1);
        QVERIFY(exam.startAfterTheZeroRecord());
        const ResultRecordReading zero = uploaded(service);
        QVERIFY(zero.ok());
        QCOMPARE(zero.record->speed, 0.0f);
        QCOMPARE(zero.accuracyLine, u"0"_qs);
        QCOMPARE(int(zero.record->timePass), 0);
        QCOMPARE(zero.record->targetLen, 52);
        QCOMPARE(zero.record->typedLen, 0);
        // Of the exam's files only the scrambled record stays, and the checkpoint.
        QCOMPARE(QDir(exam.folder.path()).entryList(QDir::Files),
                 (QStringList { u"resume.zip"_qs, u"sc1.zip"_qs }));

        QTest::keyClicks(exam.txtWrite(), QString(45, u'a') + QString(5, u'b'));
        for (int tick = 0; tick < 60; ++tick)
            exam.frm->onClockTick();
        QVERIFY(!exam.txtWrite()->isEnabled());
        // The time is up, said plainly while the result is on its way.
        QVERIFY2(exam.lblInfo().startsWith(u"考试时间到，成绩正在交给服务器，请稍候。"_qs),
                 qPrintable(exam.lblInfo()));
        QCOMPARE(exam.statusNote(), u"时间到，正在交卷……"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
        QCOMPARE(exam.statusNote(), u"时间到，成绩已保存"_qs);
        QVERIFY(exam.cmdExit()->isEnabled());
        const ResultRecordReading result = uploaded(service);
        QVERIFY(result.ok());
        QCOMPARE(result.record->speed, 45.0f);
        QCOMPARE(result.accuracyLine, u"90"_qs);
        QCOMPARE(int(result.record->timePass), 60);
        QCOMPARE(result.record->typedLen, 50);
        QVERIFY(exam.lblInfo().startsWith(u"考试结束，成绩已保存。"_qs));
    }

    void exitWaitsForTheFinalRecord()
    {
        FtpService service;
        QVERIFY(service.start());
        Exam exam(service, QStringLiteral("abcdef\r\n"));
        QVERIFY(exam.startAfterTheZeroRecord());
        QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
        // The close box goes through the exit dialogue: too much missing yet.
        QTest::keyClicks(exam.txtWrite(), QStringLiteral("abc"));
        QVERIFY(!exam.frm->close());
        QCOMPARE(exam.messages->informed, QStringList { ExamSession::notFinishedMessage() });
        // All but the final line break: the question, and No keeps typing.
        QTest::keyClicks(exam.txtWrite(), QStringLiteral("dxf"));
        exam.cmdExit()->click();
        QCOMPARE(exam.messages->asked, QStringList { ExamSession::confirmExitQuestion() });
        QVERIFY(exam.txtWrite()->isEnabled() && exam.frm->isVisible());

        // A slowed service shows the final upload in progress.
        service.stop();
        QVERIFY(service.start(40));
        exam.messages->answer = true;
        exam.cmdExit()->click();
        QVERIFY(!exam.txtWrite()->isEnabled() && !exam.cmdExit()->isEnabled());
        QVERIFY(exam.lblInfo().startsWith(u"考试结束，成绩正在上传"_qs));
        QCOMPARE(left.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
        // No whole second has passed: speed 0.
        QCOMPARE(exam.messages->informed.last(),
                 u"考试结束，成绩已保存。打字速度：0字／分钟，正确率：83.33％"_qs);
        QCOMPARE(uploaded(service).accuracyLine, u"83.33"_qs);
    }

    void undeliverableFinalRecordLetsTheExamineeLeaveOnASecondAnswer()
    {
        FtpService service;
        QVERIFY(service.start());
        Exam exam(service, QStringLiteral("ab\r\n"));
        QVERIFY(exam.startAfterTheZeroRecord());
        exam.frm->upload().setAttempts(2);
        // Retries come quickly here; the back-off itself is ResultUpload's.
        exam.frm->upload().setRetryScheduler([](int, std::function<void()> retry) {
            QTimer::singleShot(100, std::move(retry));
        });
        QTest::keyClicks(exam.txtWrite(), QStringLiteral("ab"));
        exam.frm->onClockTick();
        service.stop();

        QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
        exam.messages->answer = true;
        exam.cmdExit()->click();
        QTRY_COMPARE_WITH_TIMEOUT(exam.frm->exam().phase(), ExamSession::Phase::Stranded,
                                  kWaitMillis);
        QVERIFY(exam.messages->informed.last().startsWith(u"考试结束，成绩未送到服务器！"_qs));
        QVERIFY(exam.cmdExit()->isEnabled() && exam.frm->isVisible());

        // No sends it again; the service is still down, so it fails again.
        exam.messages->answer = false;
        exam.cmdExit()->click();
        const QString sc1 =
                QDir::toNativeSeparators(QDir(exam.folder.path()).absoluteFilePath(u"sc1.zip"_qs));
        QCOMPARE(exam.messages->asked.last(), ExamSession::leaveUndeliveredQuestion(sc1));
        QCOMPARE(exam.frm->exam().phase(), ExamSession::Phase::Leaving);
        QTRY_COMPARE_WITH_TIMEOUT(exam.frm->exam().phase(), ExamSession::Phase::Stranded,
                                  kWaitMillis);
        // Yes leaves; the record the examinee hands over is the final one.
        exam.messages->answer = true;
        QVERIFY(exam.frm->close());
        QCOMPARE(left.count(), 1);
        const ResultRecordReading record = readResultFile(sc1);
        QVERIFY(record.ok());
        QCOMPARE(record.record->speed, 120.0f);
        QCOMPARE(record.record->progress->phase, ResultProgress::Phase::Finished);
    }

    void enterWhileLeavingBeforeTheStartDoesNotStartTheExam()
    {
        FtpService service;
        QVERIFY(service.start(20));  // a slow service: the record takes seconds
        Exam exam(service, QStringLiteral("ab\r\n"));
        QSignalSpy left(exam.frm.get(), &FrmMain::examLeft);
        exam.cmdExit()->click();
        QTest::keyClick(exam.frm.get(), Qt::Key_Return);
        QCOMPARE(left.count(), 0);
        QCOMPARE(exam.frm->clock().state(), ExamClock::State::Waiting);
        QVERIFY(!exam.cmdExit()->isEnabled() && !exam.txtWrite()->isEnabled());
        QCOMPARE(exam.lblInfo(), ExamSession::waitingToLeaveText());
        exam.frm->onPromptTick();  // the prompt no longer invites Enter
        QCOMPARE(exam.lblInfo(), ExamSession::waitingToLeaveText());
        QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
        QCOMPARE(exam.frm->clock().state(), ExamClock::State::Waiting);
        QVERIFY(uploaded(service).ok());
        QVERIFY(exam.messages->informed.isEmpty());
    }

    void failedZeroRecordIsToldAndReplacedAtTheStart()
    {
        FtpService service;
        QVERIFY(service.start());
        service.stop();  // its port is known, nobody answers there
        Exam exam(service, QString(40, u'a') + QStringLiteral("\r\n"));
        exam.frm->upload().setAttempts(1);
        QTRY_COMPARE_WITH_TIMEOUT(exam.messages->informed.size(), 1, kWaitMillis);
        QVERIFY(exam.messages->informed.first().startsWith(u"考试记录没有送到服务器"_qs));

        // During the exam a failure is a line in the window, not a box.
        QTest::keyClick(exam.frm.get(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(exam.frm->exam().unregisteredNoteShown(), kWaitMillis);
        QTest::keyClicks(exam.txtWrite(), QStringLiteral("aaa"));
        for (int tick = 0; tick < 5; ++tick)
            exam.frm->onClockTick();
        QVERIFY(exam.lblInfo().startsWith(ExamSession::notRegisteredText()));
        QCOMPARE(exam.messages->informed.size(), 1);

        // The next progress record arrives and the line goes back to the figures.
        QVERIFY(service.start());
        for (int tick = 5; tick < ExamSession::kProgressSeconds; ++tick)
            exam.frm->onClockTick();
        QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
        QVERIFY(!exam.frm->exam().unregisteredNoteShown());
        exam.frm->showProgress();
        QVERIFY(exam.lblInfo().startsWith(u"打字速度："_qs));
        const ResultRecordReading record = uploaded(service);
        QCOMPARE(record.record->typedLen, 3);
        QCOMPARE(record.record->progress->phase, ResultProgress::Phase::Typing);
        QCOMPARE(record.record->progress->typedSoFar, 3);
    }

    void progressRecordsNeverHoldUpTypingAndTheNewestWins()
    {
        FtpService service;
        QVERIFY(service.start(60));  // each record takes seconds
        Exam exam(service, QString(200, u'a') + QStringLiteral("\r\n"));
        QSignalSpy sent(&exam.frm->upload().channel(), &TransferChannel::finished);
        QTest::keyClick(exam.frm.get(), Qt::Key_Return);
        for (int round = 1; round <= 2; ++round) {
            for (int tick = 0; tick < ExamSession::kProgressSeconds; ++tick)
                exam.frm->onClockTick();
            // A record is on its way (the timeline is compressed first, off
            // this thread): keys count at once.
            QTRY_VERIFY_WITH_TIMEOUT(exam.frm->upload().channel().isBusy(), kWaitMillis);
            QTest::keyClicks(exam.txtWrite(), QString(10, u'a'));
            QCOMPARE(exam.frm->session().rightCount(), 10 * round);
        }
        QTRY_VERIFY_WITH_TIMEOUT(exam.delivered(), kWaitMillis);
        // The record of the 30th second never went out; the 60th's did.
        QCOMPARE(sent.count(
                         QVariantList { QVariant::fromValue(TransferChannel::Outcome::Completed) }),
                 2);
        const ResultRecordReading newest = uploaded(service);
        QCOMPARE(newest.record->progress->sequence, 3);
        QCOMPARE(newest.record->progress->phase, ResultProgress::Phase::Typing);
        QCOMPARE(newest.record->progress->typedSoFar, 10);
        QCOMPARE(int(newest.record->timePass), 60);
        QCOMPARE(exam.messages->informed, QStringList());
    }
};

QTEST_MAIN(TestExamEnd)
#include "tst_examend.moc"
