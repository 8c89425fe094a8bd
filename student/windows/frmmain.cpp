#include "windows/frmmain.h"

#include "windows/clienttitle.h"

#include "exam/examtext.h"
#include "exam/inputmethods.h"
#include "kestrixversion.h"
#include "messages.h"
#include "windows/pageview.h"
#include "exam/scoring.h"
#include "windows/statuspanel.h"
#include "windows/typingbox.h"

#include <QComboBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace {

// Pixel geometry at 15 twips per pixel: the client area is 11160 x 7650
// twips, the text area 8300 x 2700.
constexpr int kClientWidth = 744;
constexpr int kClientHeight = 510;
constexpr int kTextWidth = 553;
constexpr int kTextHeight = 180;
constexpr int kScrollWidth = 17;

QString promptText()
{
    return QStringLiteral("按下回车键开始计时考试，不会打的汉字请随便打一汉字代替......");
}

const QColor kPromptColor(0xC0, 0x00, 0x00);

// 12-point Song, with the CJK faces that stand in for it where it is missing.
QFont songFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                       QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC") });
    font.setPointSize(12);
    return font;
}

QLabel *framedLabel(QWidget *window, const QString &frameName, const QString &title,
                    const QString &labelName, int top)
{
    auto *frame = new QGroupBox(title, window);
    frame->setObjectName(frameName);
    frame->setGeometry(8, top, 120, 56);
    auto *label = new QLabel(frame);
    label->setObjectName(labelName);
    label->setGeometry(8, 24, 104, 24);
    return label;
}

}  // namespace

FrmMain::FrmMain(const Examinee &examinee, const QString &workFolder, QWidget *parent)
    : FrmMain(examinee, workFolder, FrmMainServices(), parent)
{
}

FrmMain::FrmMain(const Examinee &examinee, const QString &workFolder, FrmMainServices services,
                 QWidget *parent)
    : QWidget(parent),
      m_examinee(examinee),
      m_workFolder(workFolder),
      m_inputMethods(std::move(services.inputMethods)),
      m_messages(std::move(services.messages)),
      m_runTimers(services.runTimers),
      m_clock(std::make_unique<ExamClock>(examinee.examMinutes)),
      m_upload(std::make_unique<ResultUpload>(workFolder)),
      m_exam(std::make_unique<ExamSession>(*m_clock))
{
    connect(m_upload.get(), &ResultUpload::stateChanged, this, &FrmMain::onUploadStateChanged);
    connect(m_upload.get(), &ResultUpload::writeOnceFound, m_exam.get(),
            [this] { m_exam->setProgressSeconds(ExamSession::kWriteOnceProgressSeconds); });
    connect(m_exam.get(), &ExamSession::phaseChanged, this, &FrmMain::onPhaseChanged);
    connect(m_exam.get(), &ExamSession::recordDue, this, &FrmMain::SaveResult);
    connect(m_exam.get(), &ExamSession::resendDue, m_upload.get(), &ResultUpload::retry);
    connect(m_exam.get(), &ExamSession::questionAsked, this, &FrmMain::askExaminee);
    connect(m_exam.get(), &ExamSession::messageRequested, this, &FrmMain::tell);
    connect(m_exam.get(), &ExamSession::finalOutcome, this, &FrmMain::onFinalOutcome);
    connect(m_exam.get(), &ExamSession::unregisteredNoteChanged, this, &FrmMain::showProgress);
    if (!m_inputMethods)
        m_inputMethods = createSystemInputMethods();
    if (!m_messages)
        m_messages = std::make_shared<MessageBoxes>(clientTitle());
    setObjectName(QStringLiteral("FrmMain"));
    buildWindow();

    // Start-up, in its fixed order.
    m_combo1->addItems(m_inputMethods->entries());
    m_combo1->setCurrentIndex(-1);
    setWindowTitle(clientTitle() + QLatin1String("  v") + QString::number(KESTRIX_VERSION_MAJOR)
                   + u'.' + QString::number(KESTRIX_VERSION_MINOR));
    m_lblBanName->setText(m_examinee.department);
    m_lblExamNumber->setText(m_examinee.examNumber);
    m_lblName->setText(m_examinee.name);
    loadExamText();
    m_vScroll1->setRange(0, TypingSession::scrollMax(m_session.targetLen()));
    m_vScroll1->setPageStep(TypingSession::kPageStep);
    m_ssTab1->setTabEnabled(1, false);
    prepareClock();
    m_exam->begin();

    if (m_clock->canRun()) {
        showInfo(ExamSession::registeringText(), kPromptColor);
        switchTimer(m_timer3, true);
    } else {
        // The prompt would invite an Enter that cannot start this exam.
        showInfo(ExamSession::badExamTimeText(), kPromptColor);
    }
    switchTimer(m_timer2, true);
    onStatusTick();
    m_ssTab1->tabBar()->setFocus();
}

FrmMain::~FrmMain() = default;

QString FrmMain::websiteAddress()
{
    return QStringLiteral("https://kestrix.example.org");
}

void FrmMain::buildWindow()
{
    setFixedSize(kClientWidth, kClientHeight);

    m_lblBanName = framedLabel(this, QStringLiteral("Frame1"), QStringLiteral("部门"),
                               QStringLiteral("LblBanName"), 8);
    m_lblExamNumber = framedLabel(this, QStringLiteral("Frame2"), QStringLiteral("考号"),
                                  QStringLiteral("LblXueHao"), 70);
    m_lblName = framedLabel(this, QStringLiteral("Frame3"), QStringLiteral("姓名"),
                            QStringLiteral("LblXingMing"), 132);

    auto *frame4 = new QGroupBox(this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    frame4->setGeometry(8, 194, 120, 288);
    auto *label3 = new QLabel(QStringLiteral("选择输入法："), frame4);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setGeometry(8, 12, 104, 22);
    m_combo1 = new QComboBox(frame4);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(8, 36, 104, 26);
    m_cmdExit = new QPushButton(QStringLiteral("结束考试"), frame4);
    m_cmdExit->setObjectName(QStringLiteral("CmdExit"));
    m_cmdExit->setGeometry(8, 240, 104, 34);
    // Enter on the focused button presses it.
    m_cmdExit->setAutoDefault(true);
    connect(m_cmdExit, &QPushButton::clicked, this, &FrmMain::exitRequested);
    connect(this, &FrmMain::exitRequested, this, &FrmMain::runExitDialogue);

    m_ssTab1 = new QTabWidget(this);
    m_ssTab1->setObjectName(QStringLiteral("SSTab1"));
    m_ssTab1->setGeometry(136, 6, 600, 476);
    auto *typingTab = new QWidget;
    m_ssTab1->addTab(typingTab, QStringLiteral("打字测试"));
    m_ssTab1->addTab(new QWidget, QStringLiteral("系统设置"));

    auto *label1 = new QLabel(QStringLiteral("目标文字"), typingTab);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(10, 12, 120, 22);
    auto *label2 = new QLabel(QStringLiteral("剩余时间"), typingTab);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(390, 10, 70, 24);
    label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblTime = new QLabel(QStringLiteral("00 : 00"), typingTab);
    m_lblTime->setObjectName(QStringLiteral("LblTime"));
    m_lblTime->setGeometry(466, 8, 114, 28);
    m_lblTime->setAlignment(Qt::AlignCenter);
    m_lblTime->setAutoFillBackground(true);
    QPalette timePalette = m_lblTime->palette();
    timePalette.setColor(QPalette::Window, QColor(0x80, 0x80, 0xFF));
    timePalette.setColor(QPalette::WindowText, timePalette.color(QPalette::HighlightedText));
    m_lblTime->setPalette(timePalette);
    QFont timeFont = m_lblTime->font();
    timeFont.setPointSize(14);
    timeFont.setBold(true);
    m_lblTime->setFont(timeFont);

    m_lblGetText = new PageView(typingTab);
    m_lblGetText->setObjectName(QStringLiteral("LblGetText"));
    m_lblGetText->setFont(songFont());
    m_lblGetText->setGeometry(10, 40, kTextWidth, kTextHeight);

    m_vScroll1 = new QScrollBar(Qt::Vertical, typingTab);
    m_vScroll1->setObjectName(QStringLiteral("VScroll1"));
    m_vScroll1->setGeometry(10 + kTextWidth, 40, kScrollWidth, kTextHeight);
    connect(m_vScroll1, &QScrollBar::valueChanged, this, &FrmMain::onScrollChanged);

    m_lblInfo = new QLabel(typingTab);
    m_lblInfo->setObjectName(QStringLiteral("LblInfo"));
    m_lblInfo->setGeometry(10, 226, kTextWidth + kScrollWidth, 22);

    m_txtWrite = new TypingBox(typingTab);
    m_txtWrite->setObjectName(QStringLiteral("TxtWrite"));
    m_txtWrite->setFont(songFont());
    m_txtWrite->setGeometry(10, 252, kTextWidth + kScrollWidth, kTextHeight);
    connect(m_txtWrite, &QPlainTextEdit::textChanged, this, &FrmMain::onTypedTextChanged);

    buildStatusBar();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &FrmMain::onClockTick);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(1000);
    connect(m_timer2, &QTimer::timeout, this, &FrmMain::onStatusTick);
    m_timer3 = new QTimer(this);
    m_timer3->setObjectName(QStringLiteral("Timer3"));
    m_timer3->setInterval(500);
    connect(m_timer3, &QTimer::timeout, this, &FrmMain::onPromptTick);

    connect(m_clock.get(), &ExamClock::timeTextChanged, m_lblTime, &QLabel::setText);
    connect(m_clock.get(), &ExamClock::progressDue, this, &FrmMain::showProgress);

    // The tab strip comes first, so it holds the focus while the typing box
    // is disabled and Enter there starts the exam.
    setTabOrder(m_ssTab1, m_txtWrite);
    setTabOrder(m_txtWrite, m_combo1);
    setTabOrder(m_combo1, m_cmdExit);
}

void FrmMain::buildStatusBar()
{
    m_statusBar1 = new QStatusBar(this);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setSizeGripEnabled(false);
    m_statusBar1->setGeometry(0, kClientHeight - 22, kClientWidth, 22);
    const struct
    {
        const char *key;
        QString text;
        int stretch;
    } panels[] = {
        { "time", QString(), 2 },
        { "notice", QStringLiteral("Kestrix 打字考试系统"), 2 },
        { "url", QStringLiteral("访问网站 kestrix.example.org"), 3 },
        { "help", QStringLiteral("考试中请勿关闭本窗口"), 2 },
    };
    for (const auto &panel : panels) {
        auto *label = new StatusPanel(QLatin1String(panel.key), panel.text, m_statusBar1);
        label->setObjectName(QLatin1String("Panel") + QString::number(m_panels.size() + 1));
        m_statusBar1->addWidget(label, panel.stretch);
        connect(label, &StatusPanel::clicked, this, &FrmMain::onStatusPanelClicked);
        m_panels.append(label);
    }
    m_panels[2]->setCursor(Qt::PointingHandCursor);
}

void FrmMain::loadExamText()
{
    const std::optional<QString> text = readExamText(m_workFolder);
    if (!text)
        m_messages->inform(this, QStringLiteral("考试文件不存在"));
    m_session = TypingSession(text.value_or(QString()));
    m_lblGetText->setText(m_session.targetText());
}

void FrmMain::prepareClock()
{
    m_txtWrite->setEnabled(false);
    m_lblTime->setText(m_clock->timeText());
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
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        startExam(13);
    QWidget::keyPressEvent(event);
}

void FrmMain::startExam(int keyCode)
{
    if (keyCode == 13)
        m_exam->pressEnter();
}

void FrmMain::onPhaseChanged(ExamSession::Phase phase)
{
    switch (phase) {
    case ExamSession::Phase::Waiting:
        break;
    case ExamSession::Phase::LeavingEarly:
        switchTimer(m_timer3, false);
        m_cmdExit->setEnabled(false);
        showInfo(ExamSession::waitingToLeaveText(), kPromptColor);
        break;
    case ExamSession::Phase::Typing:
        beginTyping();
        break;
    case ExamSession::Phase::Over:
        endTyping();
        m_lblTime->setText(m_clock->timeText());
        break;
    case ExamSession::Phase::Leaving:
        endTyping();
        m_cmdExit->setEnabled(false);
        showFinish();
        break;
    case ExamSession::Phase::Stranded:
        m_cmdExit->setEnabled(true);
        showFinish();
        break;
    case ExamSession::Phase::Left:
        leave();
        break;
    }
}

void FrmMain::beginTyping()
{
    switchTimer(m_timer3, false);
    showInfo(QString(), palette().color(QPalette::ButtonText));
    m_txtWrite->setEnabled(true);
    m_txtWrite->setFocus();
    switchTimer(m_timer1, true);
    m_vScroll1->setValue(0);
    const int chosen = m_combo1->currentIndex();
    m_inputMethods->activate(chosen < 0 ? 0 : chosen);
}

void FrmMain::endTyping()
{
    switchTimer(m_timer1, false);
    m_txtWrite->setEnabled(false);
}

void FrmMain::showInfo(const QString &text, const QColor &color)
{
    QPalette infoPalette = m_lblInfo->palette();
    infoPalette.setColor(QPalette::WindowText, color);
    m_lblInfo->setPalette(infoPalette);
    m_lblInfo->setText(text);
}

void FrmMain::showFinish()
{
    const ResultUpload::State state = m_upload->state();
    showInfo(finishText(state, m_speed, m_accuracy),
             state == ResultUpload::State::Failed ? kPromptColor
                                                  : palette().color(QPalette::ButtonText));
}

void FrmMain::onScrollChanged(int value)
{
    m_topLine = value;
    showPage();
    if (m_txtWrite->isEnabled())
        m_txtWrite->setFocus();
}

void FrmMain::showPage()
{
    m_lblGetText->setText(TypingSession::fromTopLine(m_session.targetText(), m_topLine));
    showOverlays();
}

void FrmMain::showOverlays()
{
    m_lblGetText->writeLayer()->setText(
            TypingSession::fromTopLine(m_session.writeText(), m_topLine));
    m_lblGetText->errorLayer()->setText(
            TypingSession::fromTopLine(m_session.errorText(), m_topLine));
}

void FrmMain::onTypedTextChanged()
{
    const int typedLen = m_txtWrite->typedLength();
    const TypingSession::Step step = m_session.compareTyped(
            typedLen, m_txtWrite->caretPosition(), m_txtWrite->takeChangedFrom(),
            [this](int from) { return m_txtWrite->typedFrom(from); });
    if (step == TypingSession::Step::Continued)
        followCaret(typedLen);
    if (typedLen == 0) {
        m_vScroll1->setValue(0);
        showPage();
    }
    showOverlays();
}

void FrmMain::followCaret(int typedLen)
{
    m_vScroll1->setValue(TypingSession::followCaret(typedLen, m_topLine, m_vScroll1->maximum()));
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
    m_speed = scoring::speed(m_session.rightCount(), m_clock->timePass());
    m_accuracy = scoring::accuracy(m_session.rightCount(), m_session.errorCount());
    // Until a record of this examinee has arrived, the line says so first.
    if (m_exam->unregisteredNoteShown())
        showInfo(ExamSession::notRegisteredText() + QStringLiteral("  ")
                         + scoring::progressText(m_speed, m_accuracy),
                 kPromptColor);
    else
        showInfo(scoring::progressText(m_speed, m_accuracy), palette().color(QPalette::ButtonText));
}

void FrmMain::SaveResult(ResultProgress::Phase phase)
{
    const bool started = m_clock->state() != ExamClock::State::Waiting;
    m_speed = started ? scoring::speed(m_session.rightCount(), m_clock->timePass()) : 0.0f;
    m_accuracy = scoring::accuracy(m_session.rightCount(), m_session.errorCount());

    ResultRecord record;
    record.speed = m_speed;
    record.accuracy = m_accuracy;
    record.timePass = qint16(m_clock->timePass());
    record.targetLen = m_session.targetLen();
    record.typedLen = m_session.typedLen();
    record.department = m_examinee.department;
    record.examNumber = m_examinee.examNumber;
    record.name = m_examinee.name;
    record.progress = ResultProgress { 0, QString(), phase, m_session.typedLen() };
    m_upload->save(record, m_examinee);
}

void FrmMain::onUploadStateChanged(ResultUpload::State state)
{
    // Once the exam is over the line tells the truth about the result's way
    // to the server; before, the prompt or the figures own it.
    switch (m_exam->phase()) {
    case ExamSession::Phase::Over:
    case ExamSession::Phase::Leaving:
    case ExamSession::Phase::Stranded:
        showFinish();
        break;
    default:
        break;
    }
    m_exam->onUploadState(state);
}

void FrmMain::runExitDialogue()
{
    m_exam->requestExit(m_session.typedLen(), m_session.targetLen());
    if (m_txtWrite->isEnabled())
        m_txtWrite->setFocus();
}

void FrmMain::askExaminee(ExamSession::Question question)
{
    const QString text = question == ExamSession::Question::EndExam
            ? ExamSession::confirmExitQuestion()
            : ExamSession::leaveUndeliveredQuestion(m_upload->localRecordPath());
    m_exam->answer(question, m_messages->confirm(this, text));
}

void FrmMain::tell(const QString &text)
{
    m_messages->inform(this, text);
}

void FrmMain::onFinalOutcome(ResultUpload::State state)
{
    QString text = finishText(state, m_speed, m_accuracy);
    if (state == ResultUpload::State::Failed && !m_upload->localProblem().isEmpty())
        text += u'\n' + m_upload->localProblem();
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
    if (m_blinker.tick()) {
        showInfo(promptText(), kPromptColor);
    } else {
        m_lblInfo->clear();
    }
}

void FrmMain::onStatusTick()
{
    m_panels[0]->setText(statusDateTimeText(QDateTime::currentDateTime(), QLocale::system()));
}

void FrmMain::onStatusPanelClicked(const QString &key)
{
    if (key == QLatin1String("url"))
        QDesktopServices::openUrl(QUrl(websiteAddress()));
}
