// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exam's course without a window: every phase meets every event, and the
// signals say what the window is asked to do.
#include "exam/examsession.h"

#include <QMetaEnum>
#include <QTest>

namespace {

using Phase = ExamSession::Phase;
using Upload = ResultUpload::State;

template <typename E>
QString name(E value)
{
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(int(value)));
}

// One session with a log of what it asked for, in order.
struct Course
{
    ExamClock clock { 10 };
    ExamSession exam { clock };
    QStringList log;

    Course()
    {
        QObject::connect(&exam, &ExamSession::phaseChanged, [this](Phase p) { log << name(p); });
        QObject::connect(&exam, &ExamSession::recordDue,
                         [this](ResultProgress::Phase p) { log << u"record "_qs + phaseWord(p); });
        QObject::connect(&exam, &ExamSession::resendDue, [this] { log << u"resend"_qs; });
        QObject::connect(&exam, &ExamSession::questionAsked,
                         [this](ExamSession::Question q) { log << name(q); });
        QObject::connect(&exam, &ExamSession::messageRequested,
                         [this](const QString &t) { log << t; });
        QObject::connect(&exam, &ExamSession::finalOutcome,
                         [this](Upload s) { log << u"final "_qs + name(s); });
        QObject::connect(&exam, &ExamSession::unregisteredNoteChanged,
                         [this](bool on) { log << (on ? u"note on"_qs : u"note off"_qs); });
    }

    // Brings the session into a phase by the way an examinee gets there.
    void reach(const QString &where)
    {
        exam.begin();
        exam.onUploadState(Upload::Uploading);
        const QStringList steps = where.split(u' ');
        const auto has = [&](const char *step) { return steps.contains(QLatin1String(step)); };
        if (has("unregistered")) {
            exam.onUploadState(Upload::Failed);
            exam.pressEnter();
            exam.onUploadState(Upload::Failed);
        } else if (has("Left")) {
            exam.onUploadState(Upload::Delivered);
            exam.requestExit(0, 8);
        } else if (!has("Waiting") && !has("LeavingEarly")) {
            exam.onUploadState(Upload::Delivered);
            exam.pressEnter();
        }
        if (has("LeavingEarly"))
            exam.requestExit(0, 8);
        if (has("Over"))
            exam.onTimeUp();
        if (has("Leaving") || has("Stranded")) {
            exam.requestExit(8, 8);
            exam.answer(ExamSession::Question::EndExam, true);
        }
        if (has("Over") || has("Leaving") || has("Stranded"))
            exam.onUploadState(Upload::Uploading);
        if (has("Stranded"))
            exam.onUploadState(Upload::Failed);
        if (has("delivered"))
            exam.onUploadState(Upload::Delivered);
        if (has("failed"))
            exam.onUploadState(Upload::Failed);
        log.clear();
    }

    void apply(const QString &event)
    {
        const ExamSession::Question question = exam.phase() == Phase::Stranded
                ? ExamSession::Question::LeaveUndelivered
                : ExamSession::Question::EndExam;
        if (event == u"Enter"_qs)
            exam.pressEnter();
        else if (event == u"exit, text not typed"_qs)
            exam.requestExit(0, 8);
        else if (event == u"exit, text typed"_qs)
            exam.requestExit(8, 8);
        else if (event == u"yes"_qs || event == u"no"_qs)
            exam.answer(question, event == u"yes"_qs);
        else if (event == u"delivered"_qs)
            exam.onUploadState(Upload::Delivered);
        else if (event == u"failed"_qs)
            exam.onUploadState(Upload::Failed);
        else if (event == u"time up"_qs)
            exam.onTimeUp();
        else if (event == u"30 s"_qs)
            exam.onSecondPassed(30);
        else
            qFatal("unknown event");
    }
};

}  // namespace

class TestExamSession : public QObject
{
    Q_OBJECT
private slots:
    void resumedAtItsTimeIsHandedIn_data()
    {
        QTest::addColumn<int>("timePass");  // of the checkpoint, in a 10-minute exam
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("expected");  // the log after begin(), joined by "; "
        QTest::newRow("one second left") << 599 << u"00 : 01"_qs << QString();
        QTest::newRow("at the exam time") << 600 << u"00 : 00"_qs << u"Over; record finished"_qs;
        QTest::newRow("past the exam time") << 700 << u"00 : 00"_qs << u"Over; record finished"_qs;
    }
    void resumedAtItsTimeIsHandedIn()
    {
        QFETCH(int, timePass);
        QFETCH(QString, clock);
        QFETCH(QString, expected);
        Course course;
        course.exam.resume(1);
        QVERIFY(course.clock.resumeAt(timePass));
        course.exam.begin();
        QCOMPARE(course.clock.timeText(), clock);
        QCOMPARE(course.log.join(u"; "_qs), expected);
        QCOMPARE(course.clock.timePass(), std::min(timePass, 600));
        // Enter never starts the clock again.
        course.exam.pressEnter();
        QCOMPARE(course.exam.phase() == Phase::Typing, timePass < 600);
    }

    void transitions_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("expected");  // the log joined by "; "
        const QStringList events = { u"Enter"_qs,
                                     u"exit, text not typed"_qs,
                                     u"exit, text typed"_qs,
                                     u"yes"_qs,
                                     u"no"_qs,
                                     u"delivered"_qs,
                                     u"failed"_qs,
                                     u"time up"_qs,
                                     u"30 s"_qs };
        const QString notFinished = ExamSession::notFinishedMessage();
        const QString zeroFailed = ExamSession::zeroRecordFailedText();
        // One row per phase, one column per event as listed above; "" is
        // nothing at all.
        const struct
        {
            const char *where;
            QStringList expected;
        } table[] = {
            { "Waiting",
              { u"Typing"_qs,
                u"LeavingEarly"_qs,
                u"LeavingEarly"_qs,
                {},
                {},
                {},
                zeroFailed,
                {},
                {} } },
            { "LeavingEarly", { {}, {}, {}, {}, {}, u"Left"_qs, u"Left"_qs, {}, {} } },
            { "Typing",
              { {},
                notFinished,
                u"EndExam"_qs,
                u"Leaving; record finished"_qs,
                {},
                {},
                {},
                u"Over; record finished"_qs,
                u"record typing"_qs } },
            { "Typing unregistered",
              { {},
                notFinished,
                u"EndExam"_qs,
                u"note off; Leaving; record finished"_qs,
                {},
                u"note off"_qs,
                {},
                u"note off; Over; record finished"_qs,
                u"record typing"_qs } },
            { "Over", { {}, u"EndExam"_qs, u"EndExam"_qs, u"Leaving"_qs, {}, {}, {}, {}, {} } },
            { "Over delivered",
              { {},
                u"EndExam"_qs,
                u"EndExam"_qs,
                u"Leaving; final Delivered; Left"_qs,
                {},
                {},
                {},
                {},
                {} } },
            { "Over failed",
              { {}, u"EndExam"_qs, u"EndExam"_qs, u"Leaving; resend"_qs, {}, {}, {}, {}, {} } },
            { "Leaving",
              { {},
                {},
                {},
                {},
                {},
                u"final Delivered; Left"_qs,
                u"final Failed; Stranded"_qs,
                {},
                {} } },
            { "Stranded",
              { {},
                u"LeaveUndelivered"_qs,
                u"LeaveUndelivered"_qs,
                u"Left"_qs,
                u"Leaving; resend"_qs,
                {},
                {},
                {},
                {} } },
            { "Left", { {}, {}, {}, {}, {}, {}, {}, {}, {} } },
        };
        for (const auto &row : table) {
            for (int i = 0; i < events.size(); ++i) {
                QTest::addRow("%s, %s", row.where, qPrintable(events[i]))
                        << QString::fromLatin1(row.where) << events[i] << row.expected[i];
            }
        }
    }
    void transitions()
    {
        QFETCH(QString, where);
        QFETCH(QString, event);
        Course course;
        course.reach(where);
        QCOMPARE(name(course.exam.phase()), where.section(u' ', 0, 0));
        course.apply(event);
        QTEST(course.log.join(u"; "_qs), "expected");
    }

    // From time-up on the information line and the status bar say that the
    // time is up until the result's outcome is known; an exam the examinee
    // ended keeps its words.
    void timeUpIsSaid_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("upload");  // ResultUpload::State
        QTest::addColumn<QString>("line");  // how the information line opens
        QTest::addColumn<QString>("note");
        const QString running = u"考试中请勿关闭本窗口"_qs;
        QTest::newRow("typing") << u"Typing"_qs << int(Upload::Uploading)
                                << u"考试结束，成绩正在上传，请稍候。打字速度："_qs << running;
        QTest::newRow("time up, uploading")
                << u"Over"_qs << int(Upload::Uploading)
                << u"考试时间到，成绩正在交给服务器，请稍候。打字速度："_qs
                << u"时间到，正在交卷……"_qs;
        QTest::newRow("time up, delivered")
                << u"Over delivered"_qs << int(Upload::Delivered)
                << u"考试结束，成绩已保存。打字速度："_qs << u"时间到，成绩已保存"_qs;
        QTest::newRow("time up, failed")
                << u"Over failed"_qs << int(Upload::Failed)
                << u"考试结束，成绩未送到服务器！请报告监考老师后再试。打字速度："_qs
                << u"时间到，成绩未送到！"_qs;
        QTest::newRow("ended by the examinee, uploading")
                << u"Leaving"_qs << int(Upload::Uploading)
                << u"考试结束，成绩正在上传，请稍候。打字速度："_qs << running;
    }

    void timeUpIsSaid()
    {
        QFETCH(QString, where);
        QFETCH(int, upload);
        QFETCH(QString, line);
        QFETCH(QString, note);
        Course course;
        course.reach(where);
        const auto state = Upload(upload);
        QVERIFY2(course.exam.finishLine(state).startsWith(line),
                 qPrintable(course.exam.finishLine(state)));
        QCOMPARE(course.exam.statusNote(state), note);
    }

    void failedStartUpRecordIsReplacedAtTheStart()
    {
        Course course;
        course.reach(u"Waiting failed"_qs);
        course.exam.pressEnter();
        QCOMPARE(course.log, (QStringList { u"Typing"_qs, u"record typing"_qs }));
    }

    void progressEveryIntervalOnly()
    {
        Course course;
        course.reach(u"Typing"_qs);
        course.exam.setProgressSeconds(ExamSession::kWriteOnceProgressSeconds);
        for (int second = 1; second <= 240; ++second)
            course.clock.tick();
        QCOMPARE(course.log, (QStringList { u"record typing"_qs, u"record typing"_qs }));
    }

    void recordsCarryTheFiguresAsTheyStand_data()
    {
        QTest::addColumn<QString>("typed");  // against "abcdef\r\n"
        QTest::addColumn<int>("seconds");
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::newRow("nothing typed") << QString() << 0 << 0.0f << 0.0f;
        QTest::newRow("30 seconds") << u"abxd"_qs << 30 << 6.0f << 75.0f;
        QTest::newRow("time up") << u"abcdef"_qs << 60 << 6.0f << 100.0f;
    }
    void recordsCarryTheFiguresAsTheyStand()
    {
        QFETCH(QString, typed);
        QFETCH(int, seconds);
        ExamClock clock(1);
        ExamSession exam(clock, Examinee { u"h"_qs, u"系"_qs, u"07"_qs, u"名"_qs, 1, {}, {}, {} });
        exam.setExamText(u"abcdef\r\n"_qs, "d1");
        QVERIFY(clock.start());
        for (int second = 0; second < seconds; ++second)
            clock.tick();
        exam.typing().compareTyped(int(typed.size()), int(typed.size()), 0,
                                   [&](int from) { return typed.mid(from); });
        const ResultRecord record = exam.takeRecord(ResultProgress::Phase::Typing, typed);
        QTEST(record.speed, "speed");
        QTEST(record.accuracy, "accuracy");
        QCOMPARE(int(record.timePass), seconds);
        QCOMPARE(record.department + record.examNumber + record.name, u"系07名"_qs);
        QCOMPARE(QList<int>({ record.targetLen, record.typedLen, record.progress->typedSoFar }),
                 QList<int>({ 8, int(typed.size()), int(typed.size()) }));
        QCOMPARE(record.answerSheet, (AnswerSheet { "d1", 1, 0, typed }));
        QTEST(exam.figures().speed, "speed");  // the lines after the end show these
        // A failed final record names the local problem too.
        QVERIFY(exam.finalOutcomeText(Upload::Failed, u"磁盘已满"_qs).endsWith(u"\n磁盘已满"_qs));
        QVERIFY(!exam.finalOutcomeText(Upload::Delivered, u"磁盘已满"_qs).contains(u"磁盘"_qs));
    }
};

QTEST_GUILESS_MAIN(TestExamSession)
#include "tst_examsession.moc"
