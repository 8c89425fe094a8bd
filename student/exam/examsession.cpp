// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examsession.h"

#include "exam/examlog.h"
#include "exchange/answercomparison.h"
#include "exchange/examlimits.h"
#include "exchange/scoring.h"

namespace {

// The upload has arrived or failed: its outcome is known.
bool isSettled(ResultUpload::State state)
{
    return state == ResultUpload::State::Delivered || state == ResultUpload::State::Failed;
}

}  // namespace

ExamSession::ExamSession(ExamClock &clock, QObject *parent) : ExamSession(clock, Examinee(), parent)
{
}

ExamSession::ExamSession(ExamClock &clock, const Examinee &examinee, QObject *parent)
    : QObject(parent), m_clock(clock), m_examinee(examinee)
{
    connect(&m_clock, &ExamClock::secondPassed, this, &ExamSession::onSecondPassed);
    connect(&m_clock, &ExamClock::timeUp, this, &ExamSession::onTimeUp);
}

QString ExamSession::confirmExitQuestion()
{
    return tr("是否真的要退出考试？");
}

QString ExamSession::timeUpText()
{
    return tr("考试时间到，成绩正在交给服务器，请稍候。");
}

QString ExamSession::notFinishedMessage()
{
    return tr("目标文字还没有输完，不能退出考试！");
}

QString ExamSession::registeringText()
{
    return tr("正在向服务器登记考生信息，请稍候……");
}

QString ExamSession::waitingToLeaveText()
{
    return tr("正在把考试记录送到服务器，送到后程序自动退出，请稍候……");
}

QString ExamSession::notRegisteredText()
{
    return tr("考试记录未送到服务器，请报告监考老师！");
}

QString ExamSession::zeroRecordFailedText()
{
    return tr("考试记录没有送到服务器，监考老师那里看不到你。请报告监考老师；按回车键开"
              "始考试时会再送一次。");
}

QString ExamSession::badExamTimeText()
{
    return tr("考试时间设置有误（应为%1至%2分钟），不能开始考试，请点击“结束考试”退出。")
            .arg(examlimits::kShortestExamMinutes)
            .arg(examlimits::kLongestExamMinutes);
}

QString ExamSession::unstorableText(const QString &characters)
{
    return tr("“%1”无法保存，没有输入").arg(characters);
}

QString ExamSession::leaveUndeliveredQuestion(const QString &recordPath)
{
    if (recordPath.isEmpty())
        return tr("成绩还没有送到服务器，本机也没能保存。是否不再等待，现在退出？\n"
                  "退出前请让监考老师记下屏幕上的成绩。\n选“否”再送一次。");
    return tr("成绩还没有送到服务器。是否不再等待，现在退出？\n退出后请把成绩文件“%"
              "1”交给监考老师。\n选“否”再送一次。")
            .arg(recordPath);
}

QString ExamSession::questionText(Question question, const QString &recordPath)
{
    return question == Question::EndExam ? confirmExitQuestion()
                                         : leaveUndeliveredQuestion(recordPath);
}

ExamSession::Figures ExamSession::takeFigures()
{
    // Scored as the console rescores an answer sheet; no time has counted
    // before the clock starts (a resumed clock stands at its earlier time).
    const bool started = m_clock.state() != ExamClock::State::Waiting;
    const AnswerFigures scored = scoreAnswer(m_typing.comparison(), m_typing.typedLen(),
                                             started ? m_clock.timePass() : 0);
    m_figures = { scored.speed, scored.accuracy };
    return m_figures;
}

ResultRecord ExamSession::takeRecord(ResultProgress::Phase phase, const QString &typedText)
{
    const Figures now = takeFigures();
    ResultRecord record;
    record.speed = now.speed;
    record.accuracy = now.accuracy;
    record.timePass = qint16(m_clock.timePass());
    record.targetLen = m_typing.targetLen();
    record.typedLen = m_typing.typedLen();
    record.department = m_examinee.department;
    record.examNumber = m_examinee.examNumber;
    record.name = m_examinee.name;
    record.progress = ResultProgress { 0, QString(), phase, m_typing.typedLen() };
    record.answerSheet =
            AnswerSheet { m_examDigest, qint16(m_clock.examMinutes()), m_resumeCount, typedText };
    // The console and a later login tell this publication's records by it.
    if (!m_examinee.publication.id.isEmpty())
        record.sections.push_back(m_examinee.publication.section());
    return record;
}

QString ExamSession::takeProgressLine()
{
    const Figures now = takeFigures();
    const QString line = scoring::progressText(now.speed, now.accuracy);
    return m_noteShown ? notRegisteredText() + QStringLiteral("  ") + line : line;
}

bool ExamSession::showsFinish() const
{
    return m_phase == Phase::Over || m_phase == Phase::Leaving || m_phase == Phase::Stranded;
}

QString ExamSession::finishLine(ResultUpload::State state) const
{
    return finishText(m_timeUp && !isSettled(state) ? timeUpText() : finishOutcome(state),
                      m_figures.speed, m_figures.accuracy);
}

QString ExamSession::statusNote(ResultUpload::State state) const
{
    if (!m_timeUp)
        return tr("考试中请勿关闭本窗口");
    switch (state) {
    case ResultUpload::State::Delivered:
        return tr("时间到，成绩已保存");
    case ResultUpload::State::Failed:
        return tr("时间到，成绩未送到！");
    case ResultUpload::State::Idle:
    case ResultUpload::State::Uploading:
        break;
    }
    return tr("时间到，正在交卷……");
}

QString ExamSession::promptText() const
{
    return m_resumed ? tr("按下回车键继续考试，不会打的汉字请随便打一汉字代替......")
                     : tr("按下回车键开始计时考试，不会打的汉字请随便打一汉字代替......");
}

QString ExamSession::finalOutcomeText(ResultUpload::State state, const QString &localProblem) const
{
    QString text = finishLine(state);
    if (state == ResultUpload::State::Failed && !localProblem.isEmpty())
        text += u'\n' + localProblem;
    return text;
}

void ExamSession::resume(qint32 resumeCount)
{
    m_resumed = true;
    m_resumeCount = resumeCount;
    // The console has seen this examinee before.
    m_registered = true;
}

void ExamSession::begin()
{
    if (m_phase != Phase::Waiting)
        return;
    if (!m_resumed) {
        emit recordDue(ResultProgress::Phase::Waiting);
    } else if (m_clock.state() == ExamClock::State::TimeUp) {
        // Resumed at or past its exam time: handed in as it stands, never
        // started again.
        m_timeUp = true;
        setPhase(Phase::Over);
        takeFinalRecord();
    }
}

void ExamSession::pressEnter()
{
    if (m_phase != Phase::Waiting)
        return;
    if (!m_clock.start()) {
        emit messageRequested(badExamTimeText());
        return;
    }
    setPhase(Phase::Typing);
    qCInfo(lcExam) << "exam started";
    // The start-up record did not arrive, or a resumed session sent none:
    // the first record of the exam takes its place.
    if (m_upload == ResultUpload::State::Failed || m_resumed)
        emit recordDue(ResultProgress::Phase::Typing);
}

void ExamSession::requestExit(qint32 typedLen, qint32 completeLen)
{
    switch (m_phase) {
    case Phase::Waiting:
        // Leaving now would cut off the start-up record on its way.
        setPhase(m_upload == ResultUpload::State::Uploading ? Phase::LeavingEarly : Phase::Left);
        return;
    case Phase::Typing:
        if (typedLen >= completeLen)
            emit questionAsked(Question::EndExam);
        else
            emit messageRequested(notFinishedMessage());
        return;
    case Phase::Over:
        emit questionAsked(Question::EndExam);
        return;
    case Phase::Stranded:
        emit questionAsked(Question::LeaveUndelivered);
        return;
    case Phase::LeavingEarly:
    case Phase::Leaving:
    case Phase::Left:
        return;
    }
}

void ExamSession::answer(Question question, bool yes)
{
    if (question == Question::EndExam && yes && m_phase == Phase::Typing) {
        showNote(false);
        setPhase(Phase::Leaving);
        takeFinalRecord();
    } else if (question == Question::EndExam && yes && m_phase == Phase::Over) {
        // The final record was taken at time-up; it is the one to wait for.
        setPhase(Phase::Leaving);
        waitForFinalRecord();
    } else if (question == Question::LeaveUndelivered && m_phase == Phase::Stranded) {
        setPhase(yes ? Phase::Left : Phase::Leaving);
        if (!yes)
            emit resendDue();
    }
}

void ExamSession::takeFinalRecord()
{
    qCInfo(lcExam) << (m_timeUp ? "time up: handing in" : "handing in");
    emit recordDue(ResultProgress::Phase::Finished);
}

void ExamSession::waitForFinalRecord()
{
    if (m_upload == ResultUpload::State::Failed)
        emit resendDue();
    else if (m_upload != ResultUpload::State::Uploading)
        onUploadState(m_upload);
}

void ExamSession::onUploadState(ResultUpload::State state)
{
    m_upload = state;
    if (state == ResultUpload::State::Delivered) {
        m_registered = true;
        showNote(false);
    }
    const bool settled = isSettled(state);
    switch (m_phase) {
    case Phase::Waiting:
        if (state == ResultUpload::State::Failed && !m_registered)
            emit messageRequested(zeroRecordFailedText());
        return;
    case Phase::LeavingEarly:
        if (settled)
            setPhase(Phase::Left);
        return;
    case Phase::Typing:
        // A failed progress record is superseded by the next one; only an
        // examinee the console has never seen is told.
        if (state == ResultUpload::State::Failed && !m_registered)
            showNote(true);
        return;
    case Phase::Leaving:
        if (!settled)
            return;
        if (state == ResultUpload::State::Delivered)
            qCInfo(lcExam) << "handed in";
        else
            qCWarning(lcExam) << "the record handed in did not arrive";
        emit finalOutcome(state);
        setPhase(state == ResultUpload::State::Delivered ? Phase::Left : Phase::Stranded);
        return;
    case Phase::Over:
    case Phase::Stranded:
    case Phase::Left:
        return;
    }
}

void ExamSession::onSecondPassed(int timePass)
{
    if (m_phase == Phase::Typing && timePass % m_progressSeconds == 0)
        emit recordDue(ResultProgress::Phase::Typing);
}

void ExamSession::onTimeUp()
{
    if (m_phase != Phase::Typing)
        return;
    showNote(false);
    m_timeUp = true;
    setPhase(Phase::Over);
    takeFinalRecord();
}

void ExamSession::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void ExamSession::showNote(bool shown)
{
    if (m_noteShown == shown)
        return;
    m_noteShown = shown;
    emit unregisteredNoteChanged(shown);
}
