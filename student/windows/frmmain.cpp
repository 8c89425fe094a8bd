// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmmain.h"

#include "windows/clienttitle.h"

#include "exam/examtext.h"
#include "exchange/examlimits.h"
#include "exam/inputmethods.h"
#include "windows/inputmethodswitch.h"
#include "kestrixversion.h"
#include "exchange/messages.h"
#include "windows/pageview.h"
#include "windows/statuspanel.h"
#include "windows/typingbox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace {

const QColor kPromptColor(0xC0, 0x00, 0x00);

void paintText(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

}  // namespace

FrmMain::FrmMain(const Examinee &examinee, const QString &workFolder, QWidget *parent)
    : FrmMain(examinee, workFolder, FrmMainServices(), parent)
{
}

FrmMain::FrmMain(const Examinee &examinee, const QString &workFolder, FrmMainServices services,
                 QWidget *parent)
    : QWidget(parent),
      m_workFolder(workFolder),
      m_messages(std::move(services.messages)),
      m_runTimers(services.runTimers),
      m_clock(std::make_unique<ExamClock>(examinee.examMinutes)),
      m_exam(std::make_unique<ExamSession>(*m_clock, examinee)),
      m_records(std::make_unique<ExamRecords>(*m_clock, *m_exam, workFolder,
                                              [this] { return m_typingBox->typedFrom(0); }))
{
    connect(m_records.get(), &ExamRecords::uploadStateChanged, this,
            &FrmMain::onUploadStateChanged);
    connect(m_exam.get(), &ExamSession::phaseChanged, this, &FrmMain::onPhaseChanged);
    // The final record at time-up may find the upload still busy with the
    // one before, its state unchanged: the line follows the record itself.
    connect(m_exam.get(), &ExamSession::recordDue, this, &FrmMain::onUploadStateChanged);
    connect(m_exam.get(), &ExamSession::questionAsked, this, &FrmMain::askExaminee);
    connect(m_exam.get(), &ExamSession::messageRequested, this, &FrmMain::tell);
    connect(m_exam.get(), &ExamSession::finalOutcome, this, [this](ResultUpload::State state) {
        tell(m_exam->finalOutcomeText(state, upload().localProblem()));
    });
    connect(m_exam.get(), &ExamSession::unregisteredNoteChanged, this, &FrmMain::showProgress);
    if (!m_messages)
        m_messages = std::make_shared<MessageBoxes>(clientTitle());
    setObjectName(QStringLiteral("FrmMain"));
    buildWindow();
    connect(m_endExam, &QPushButton::clicked, this, &FrmMain::exitRequested);
    connect(this, &FrmMain::exitRequested, this, &FrmMain::runExitDialogue);
    connect(m_inputMethods, &QComboBox::activated, this, &FrmMain::chooseInputMethod);
    connect(m_pageScroll, &QScrollBar::valueChanged, this, &FrmMain::onScrollChanged);
    connect(m_typingBox, &QPlainTextEdit::textChanged, this, &FrmMain::onTypedTextChanged);
    m_typingBox->recordInto(&m_records->timeline());
    // Until the next figures the line says what was not typed.
    connect(m_typingBox, &TypingBox::refused, this, [this](const QString &characters) {
        showInfo(ExamSession::unstorableText(characters), kPromptColor);
    });
    for (StatusPanel *panel : std::as_const(m_panels))
        connect(panel, &StatusPanel::clicked, this, &FrmMain::onStatusPanelClicked);
    connect(m_examTick, &QTimer::timeout, this, &FrmMain::onClockTick);
    connect(m_statusTick, &QTimer::timeout, this, &FrmMain::onStatusTick);
    connect(m_promptTick, &QTimer::timeout, this, &FrmMain::onPromptTick);
    connect(m_clock.get(), &ExamClock::timeTextChanged, m_timeLeft, &QLabel::setText);
    connect(m_clock.get(), &ExamClock::progressDue, this, &FrmMain::showProgress);

    // Start-up, in its fixed order.
    m_inputSwitch = std::make_unique<InputMethodSwitch>(
            services.inputMethods ? std::move(services.inputMethods) : createSystemInputMethods(),
            m_inputMethodLabel, m_inputMethods, m_typingBox);
    setWindowTitle(clientTitle() + QLatin1String("  v") + QString::number(KESTRIX_VERSION_MAJOR)
                   + u'.' + QString::number(KESTRIX_VERSION_MINOR));
    m_department->setText(examinee.department);
    m_examNumber->setText(examinee.examNumber);
    m_name->setText(examinee.name);
    loadExamText();
    m_pageScroll->setRange(0, TypingSession::scrollMax(session().targetLen()));
    m_pageScroll->setPageStep(TypingSession::kPageStep);
    m_tabs->setTabEnabled(kSettingsTab, false);
    m_typingBox->setEnabled(false);
    m_timeLeft->setText(m_clock->timeText());
    if (services.resume)
        resumeFrom(*services.resume);
    m_exam->begin();

    // A resumed exam whose time was up is handed in at once: no prompt.
    if (m_exam->phase() == ExamSession::Phase::Waiting)
        showWaitingPrompt();
    switchTimer(m_statusTick, true);
    onStatusTick();
    showStatusNote();
    m_tabs->tabBar()->setFocus();
}

FrmMain::~FrmMain()
{
    // Deleting the controls moves the focus, and the input method may still
    // hand the typing box its composition, after the members have gone; the
    // input method switch has gone with them.
    m_typingBox->disconnect(this);
}

QString FrmMain::websiteAddress()
{
    return QStringLiteral("https://kestrix.example.org");
}

void FrmMain::loadExamText()
{
    const std::optional<ExamText> exam = readExamText(m_workFolder);
    if (!exam)
        m_messages->inform(this, tr("考试文件不存在"));
    m_exam->setExamText(exam ? exam->text : QString(), exam ? exam->digest : QByteArray());
    m_page->setText(session().targetText());
    m_typingBox->setLengthLimit(session().targetLen() + examlimits::kTypedBeyondTextCharacters);
}

void FrmMain::resumeFrom(const ResumePoint &point)
{
    m_records->resumeFrom(point);
    m_timeLeft->setText(m_clock->timeText());
    // Into the box as typed: the comparison colours it as it goes in.
    QString typed = point.record.answerSheet->typedText;
    typed.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_typingBox->setPlainText(typed);
    m_typingBox->moveCursor(QTextCursor::End);
}

void FrmMain::showWaitingPrompt()
{
    if (m_clock->canRun()) {
        showInfo(ExamSession::registeringText(), kPromptColor);
        switchTimer(m_promptTick, true);
    } else {
        // The prompt would invite an Enter that cannot start this exam.
        showInfo(ExamSession::badExamTimeText(), kPromptColor);
    }
}

void FrmMain::switchTimer(QTimer *timer, bool on)
{
    if (!m_runTimers)
        return;
    if (on)
        timer->start();
    else
        timer->stop();
}

void FrmMain::keyPressEvent(QKeyEvent *event)
{
    // Keys that the tab strip, Combo1 and VScroll1 leave unhandled come up
    // to the window; the typing box and CmdExit keep their Enter.
    startExam(Qt::Key(event->key()));
    QWidget::keyPressEvent(event);
}

void FrmMain::startExam(Qt::Key key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        m_exam->pressEnter();
}

void FrmMain::onPhaseChanged(ExamSession::Phase phase)
{
    switch (phase) {
    case ExamSession::Phase::Waiting:
        break;
    case ExamSession::Phase::LeavingEarly:
        switchTimer(m_promptTick, false);
        m_endExam->setEnabled(false);
        showInfo(ExamSession::waitingToLeaveText(), kPromptColor);
        break;
    case ExamSession::Phase::Typing:
        beginTyping();
        break;
    case ExamSession::Phase::Over:
        endTyping();
        m_timeLeft->setText(m_clock->timeText());
        break;
    case ExamSession::Phase::Leaving:
        endTyping();
        m_endExam->setEnabled(false);
        showFinish();
        break;
    case ExamSession::Phase::Stranded:
        m_endExam->setEnabled(true);
        showFinish();
        break;
    case ExamSession::Phase::Left:
        leave();
        break;
    }
}

void FrmMain::beginTyping()
{
    switchTimer(m_promptTick, false);
    showInfo(QString(), palette().color(QPalette::ButtonText));
    m_typingBox->setEnabled(true);
    m_typingBox->setFocus();
    switchTimer(m_examTick, true);
    // A resumed exam goes on at its typing position.
    m_pageScroll->setValue(
            TypingSession::followCaret(m_typingBox->typedLength(), 0, m_pageScroll->maximum()));
    m_inputSwitch->applyChosen();
}

void FrmMain::chooseInputMethod(int index)
{
    // Before the start Enter applies the choice.
    if (m_exam->phase() == ExamSession::Phase::Typing)
        m_inputSwitch->chooseWhileTyping(index);
}

void FrmMain::endTyping()
{
    switchTimer(m_examTick, false);
    m_typingBox->setEnabled(false);
}

void FrmMain::showInfo(const QString &text, const QColor &color)
{
    paintText(m_infoLine, color);
    m_infoLine->setText(text);
}

void FrmMain::showFinish()
{
    const ResultUpload::State state = upload().state();
    showInfo(m_exam->finishLine(state),
             state == ResultUpload::State::Failed ? kPromptColor
                                                  : palette().color(QPalette::ButtonText));
    showStatusNote();
}

void FrmMain::showStatusNote()
{
    StatusPanel *note = m_panels[kNotePanel];
    note->setText(m_exam->statusNote(upload().state()));
    // Once the time is up the note stands out as the prompt does.
    paintText(note,
              m_exam->endedByClock() ? kPromptColor
                                     : m_statusBar->palette().color(QPalette::WindowText));
}

void FrmMain::onScrollChanged(int value)
{
    m_topLine = value;
    showPage();
    if (m_typingBox->isEnabled())
        m_typingBox->setFocus();
}

void FrmMain::showPage()
{
    m_page->setText(TypingSession::fromTopLine(session().targetText(), m_topLine));
    showOverlays();
}

void FrmMain::showOverlays()
{
    m_page->writeLayer()->setText(TypingSession::fromTopLine(session().writeText(), m_topLine));
    m_page->errorLayer()->setText(TypingSession::fromTopLine(session().errorText(), m_topLine));
}

void FrmMain::onTypedTextChanged()
{
    const int typedLen = m_typingBox->typedLength();
    const TypingSession::Step step = m_exam->typing().compareTyped(
            typedLen, m_typingBox->caretPosition(), m_typingBox->takeChangedFrom(),
            [this](int from) { return m_typingBox->typedFrom(from); });
    if (step == TypingSession::Step::Continued)
        m_pageScroll->setValue(
                TypingSession::followCaret(typedLen, m_topLine, m_pageScroll->maximum()));
    if (typedLen == 0) {
        m_pageScroll->setValue(0);
        showPage();
    }
    showOverlays();
}

void FrmMain::onClockTick()
{
    if (m_exam->phase() == ExamSession::Phase::Typing)
        m_clock->tick();
}

void FrmMain::showProgress()
{
    if (m_exam->phase() != ExamSession::Phase::Typing)
        return;
    // Until a record of this examinee has arrived, the line says so first.
    const QString line = m_exam->takeProgressLine();
    showInfo(line,
             m_exam->unregisteredNoteShown() ? kPromptColor
                                             : palette().color(QPalette::ButtonText));
}

void FrmMain::onUploadStateChanged()
{
    // Once the exam is over the line tells the truth about the result's way
    // to the server; before, the prompt or the figures own it.
    if (m_exam->showsFinish())
        showFinish();
}

void FrmMain::runExitDialogue()
{
    m_exam->requestExit();
    if (m_typingBox->isEnabled())
        m_typingBox->setFocus();
}

void FrmMain::askExaminee(ExamSession::Question question)
{
    const QString text = ExamSession::questionText(question, upload().localRecordPath());
    m_exam->answer(question, m_messages->confirm(this, text));
}

void FrmMain::tell(const QString &text)
{
    m_messages->inform(this, text);
}

void FrmMain::leave()
{
    close();
    emit examLeft();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // The close box must not lose a running exam: it asks like CmdExit.
    if (m_exam->phase() == ExamSession::Phase::Left) {
        event->accept();
        return;
    }
    runExitDialogue();
    // The dialogue may have ended the exam here and now.
    event->setAccepted(m_exam->phase() == ExamSession::Phase::Left);
}

void FrmMain::onPromptTick()
{
    if (m_exam->phase() != ExamSession::Phase::Waiting)
        return;
    if (m_blinker.tick())
        showInfo(m_exam->promptText(), kPromptColor);
    else
        m_infoLine->clear();
}

void FrmMain::onStatusTick()
{
    m_panels[kTimePanel]->setText(
            statusDateTimeText(QDateTime::currentDateTime(), QLocale::system()));
}

void FrmMain::onStatusPanelClicked(const QString &key)
{
    if (key == QLatin1String("url"))
        QDesktopServices::openUrl(QUrl(websiteAddress()));
}
