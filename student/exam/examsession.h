// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The course of one exam in the typing window, without widgets: waiting for
// Enter, typing, the end, and leaving. It decides what Enter, the exit
// command (CmdExit or the close box), the time being up and each outcome of
// the record upload do, keeps the comparison of the typed text, and takes
// the records and the lines that show the figures; the window shows the
// phase and forwards the events.
#include "exam/examclock.h"
#include "exam/typingsession.h"
#include "exchange/examlimits.h"
#include "exchange/resultrecord.h"
#include "transfer/examinee.h"
#include "transfer/resultupload.h"

#include <QObject>
#include <QString>

class ExamSession : public QObject
{
    Q_OBJECT

public:
    enum class Phase {
        Waiting,  // the exam has not started; Enter starts it
        LeavingEarly,  // exit before the start: waits for the start-up record to settle
        Typing,  // the clock runs
        Over,  // the time is up; the examinee is still in the window
        Leaving,  // the end is confirmed: waits for the final record to arrive
        Stranded,  // the final record could not be delivered
        Left,  // the program ends
    };
    Q_ENUM(Phase)

    // What the examinee is asked; the window answers with answer().
    enum class Question {
        EndExam,  // "是否真的要退出考试？"
        LeaveUndelivered,  // leave although the final record has not arrived
    };
    Q_ENUM(Question)

    // Progress records go out this often while the examinee types, or less
    // often on a service where each upload is a new file.
    static constexpr int kProgressSeconds = examlimits::kProgressSeconds;
    static constexpr int kWriteOnceProgressSeconds = examlimits::kWriteOnceProgressSeconds;

    // Speed and accuracy as they stand.
    struct Figures
    {
        float speed = 0.0f;
        float accuracy = 0.0f;
    };

    // The clock is shared with the window, which ticks it.
    explicit ExamSession(ExamClock &clock, QObject *parent = nullptr);
    ExamSession(ExamClock &clock, const Examinee &examinee, QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    const Examinee &examinee() const { return m_examinee; }
    // What the examinee types, compared with the exam text.
    TypingSession &typing() { return m_typing; }
    const TypingSession &typing() const { return m_typing; }
    // The exam text and its digest, which every record names.
    void setExamText(const QString &text, const QByteArray &digest)
    {
        m_typing = TypingSession(text);
        m_examDigest = digest;
    }

    // The figures as last taken by takeRecord() or takeProgressLine(); the
    // lines after the end show these.
    Figures figures() const { return m_figures; }
    // The exam as it stands, as a record of this phase with the typed text
    // (line breaks as CR LF) as its answer sheet. The speed counts only once
    // the clock has started.
    ResultRecord takeRecord(ResultProgress::Phase phase, const QString &typedText);
    // The information line while the examinee types: the figures, after the
    // note that no record has arrived while that is shown.
    QString takeProgressLine();
    // Whether the information line tells the final record's way to the
    // server: from the end of the exam until the program ends.
    bool showsFinish() const;
    // From time-up until the final record has arrived or failed it opens
    // with the time being up.
    QString finishLine(ResultUpload::State state) const;
    // The status bar's note: not to close the window during the exam; from
    // time-up on, that the time is up and what became of the result.
    QString statusNote(ResultUpload::State state) const;
    bool endedByClock() const { return m_timeUp; }
    // The blinking prompt before the start; a resumed exam continues.
    QString promptText() const;
    // The box after the final record's outcome; a failure names the local
    // problem too, when there was one.
    QString finalOutcomeText(ResultUpload::State state, const QString &localProblem) const;
    // During the exam: no record of this examinee has reached the exchange
    // folder yet, and the info line says so.
    bool unregisteredNoteShown() const { return m_noteShown; }
    void setProgressSeconds(int seconds) { m_progressSeconds = std::max(1, seconds); }

    static QString confirmExitQuestion();
    static QString timeUpText();
    static QString notFinishedMessage();
    static QString registeringText();
    static QString waitingToLeaveText();
    static QString notRegisteredText();
    static QString zeroRecordFailedText();
    static QString badExamTimeText();
    // The typing box refused these characters: the answer sheet could not
    // hold them.
    static QString unstorableText(const QString &characters);
    // The second question after the final record failed; names the file the
    // examinee takes to the examiner, or, without one, asks for the figures
    // on the screen to be noted.
    static QString leaveUndeliveredQuestion(const QString &recordPath);
    static QString questionText(Question question, const QString &recordPath);

    // A session continued after a crash, resumed this often so far, the
    // typed text already compared: it sends no start-up record, and Enter
    // sends its next record at once so the console sees it is back.
    void resume(qint32 resumeCount);
    qint32 resumeCount() const { return m_resumeCount; }

public slots:
    // The start-up record is taken: the first record of the session.
    void begin();
    void pressEnter();
    // CmdExit or the close box. During the exam, leaving needs the target
    // typed to its end: completeLen characters (completeLength()).
    void requestExit(qint32 typedLen, qint32 completeLen);
    // The same with what has been typed so far.
    void requestExit() { requestExit(m_typing.typedLen(), completeLength(m_typing.targetText())); }
    void answer(ExamSession::Question question, bool yes);
    void onUploadState(ResultUpload::State state);
    // The clock's ticks: progress records fall due, and the time runs out.
    void onSecondPassed(int timePass);
    void onTimeUp();

signals:
    void phaseChanged(ExamSession::Phase phase);
    // Take the current record with this phase and send it.
    void recordDue(ResultProgress::Phase phase);
    // Send the last record again after it failed.
    void resendDue();
    void questionAsked(ExamSession::Question question);
    // A box with OK for the examinee.
    void messageRequested(const QString &text);
    // The final record's outcome while the examinee leaves, for a box.
    void finalOutcome(ResultUpload::State state);
    // During the exam: whether the info line says that no record of this
    // examinee has reached the exchange folder yet.
    void unregisteredNoteChanged(bool shown);

private:
    void setPhase(Phase phase);
    void takeFinalRecord();
    void waitForFinalRecord();
    void showNote(bool shown);
    Figures takeFigures();

    ExamClock &m_clock;
    Examinee m_examinee;
    TypingSession m_typing;
    QByteArray m_examDigest;
    Figures m_figures;
    Phase m_phase = Phase::Waiting;
    ResultUpload::State m_upload = ResultUpload::State::Idle;
    bool m_registered = false;  // a record of this examinee has arrived
    bool m_noteShown = false;
    int m_progressSeconds = kProgressSeconds;
    bool m_resumed = false;
    bool m_timeUp = false;  // the exam ended by its clock
    qint32 m_resumeCount = 0;
};
