// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmmain.h"

#include "windows/commandbar.h"
#include "windows/examcommands.h"
#include "windows/frmhistory.h"
#include "windows/frmanswersheet.h"
#include "windows/helpmenu.h"
#include "windows/keptplace.h"
#include "windows/resultsview.h"
#include "windows/settingspanel.h"
#include "windows/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QTimer>

namespace console {

namespace {

// In twips: the classic window, the smallest it gets.
constexpr int kClassicWidth = 10080;
constexpr int kClassicHeight = 7545;

}  // namespace

FrmMain::FrmMain(ConsoleFolders folders, ConsoleHooks hooks, Messages *messages, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                      | Qt::WindowCloseButtonHint),
      m_controller(std::move(folders)),
      m_hooks(std::move(hooks)),
      m_boxes(messageTitle(), MessageBoxes::DefaultAnswer::No),
      m_messages(messages ? messages : &m_boxes)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(tr("Kestrix服务器"));
    // The classic layout is the smallest size; a larger window gives the
    // grid the room.
    setMinimumSize(twips::px(kClassicWidth), twips::px(kClassicHeight));
    resize(minimumSize());

    m_commands = new ExamCommands(m_controller, m_hooks, m_messages, this);
    buildToolbar();
    m_results = new ResultsView(this);
    connect(m_results, &ResultsView::exportRequested, m_commands, &ExamCommands::exportResults);
    connect(m_results, &ResultsView::retakeRequested, m_commands, &ExamCommands::allowRetake);
    connect(m_results, &ResultsView::answerSheetRequested, this, &FrmMain::showAnswerSheet);
    ExamSettingsController &settings = m_controller.settings();
    m_settings = new SettingsPanel(settings, m_controller.school(), m_hooks, m_messages, this);
    connect(m_settings, &SettingsPanel::closed, this, [this] {
        showResultsView(true);
        showSlipsCommand();
    });

    ClassController &liveClass = m_controller.liveClass();
    connect(&m_controller, &ConsoleController::loginChanged, this, &FrmMain::showLoginState);
    connect(&liveClass, &ClassController::rowsChanged, this, &FrmMain::showRows);
    connect(&liveClass, &ClassController::rowsChanged, this, &FrmMain::followCurrentExamInHistory);
    connect(&liveClass, &ClassController::countsChanged, this, &FrmMain::showCounts);
    connect(&m_controller, &ConsoleController::gateNoteChanged, this, &FrmMain::showCounts);
    connect(&m_controller.school(), &SchoolController::statusChanged, this, &FrmMain::showCounts);
    connect(&m_controller, &ConsoleController::quietCollectionFailed, m_results,
            &ResultsView::showCollectionFailure);
    connect(&m_controller, &ConsoleController::loginLost, m_commands, &ExamCommands::tell);
    connect(&m_controller, &ConsoleController::retakeDone, m_commands, &ExamCommands::tell);
    connect(&m_controller, &ConsoleController::collectedByHand, this,
            &FrmMain::showCollectedByHand);
    connect(&liveClass, &ClassController::rosterLoaded, m_commands, &ExamCommands::tell);
    connect(&settings, &ExamSettingsController::gradingScaleChanged, this,
            [this, &settings] { m_results->showScale(settings.gradingScale()); });
    m_results->showScale(settings.gradingScale());

    // Start-up: the results view, the stored results ranked by speed with
    // their number, and the exam time of time.txt.
    showResultsView(true);
    showLoginState();
    m_commands->tellStartUpProblems();
    showRows();
    showCounts();
    // Asked once the window is up, so the question stands in front of it.
    if (m_controller.loginOpen())
        QTimer::singleShot(0, m_commands, &ExamCommands::offerToWithdrawPublishedExam);
}

FrmMain::~FrmMain()
{
    // The last collection is shown while the window is still whole.
    endConsole();
}

void FrmMain::showAtKeptPlace()
{
    keptplace::show(*this, m_controller.folders().application);
}

FrmAbout *FrmMain::aboutBox() const
{
    return m_help->aboutBox();
}

void FrmMain::buildToolbar()
{
    m_toolbar = new CommandBar(this);
    m_clearLast = m_toolbar->addCommand("ClearLast", tr("清空上次"),
                                        tr("清空上一场考试的记录，包括考试成绩，请先做好备份！"),
                                        QStringLiteral("clearlast"));
    connect(m_clearLast, &QAction::triggered, this, &FrmMain::clearResults);
    QAction *set = m_toolbar->addCommand("set", tr("考试设置"), tr("设置考试时间、内容等"),
                                         QStringLiteral("set"));
    connect(set, &QAction::triggered, this, &FrmMain::openSettingsPanel);
    m_beginStop = m_toolbar->addLoginCommand("BeginStop");
    connect(m_beginStop, &QAction::triggered, m_commands, &ExamCommands::openOrCloseLogin);
    m_collect = m_toolbar->addCommand("fresh", tr("获取成绩"), tr("获取考试成绩或者获取登陆信息"),
                                      QStringLiteral("fresh"));
    connect(m_collect, &QAction::triggered, this, &FrmMain::collectResults);
    m_roster =
            m_toolbar->addCommand("roster", tr("载入名单"),
                                  tr("载入考生名单（Excel、CSV或文本文件，列为部门、考号、姓名），"
                                     "显示未登录的考生和名单外的成绩"),
                                  QStringLiteral("roster"));
    connect(m_roster, &QAction::triggered, m_commands, &ExamCommands::loadRoster);
    m_loginCodes = m_toolbar->addCommand(
            "codes", tr("登录码"),
            tr("把这场考试每位考生的登录码保存为PDF（每页10张），打印后剪开发给考生；"
               "考试设置中勾选“要求登录码”并载入名单后即可生成，允许登录前也能打印"),
            QStringLiteral("codes"));
    connect(m_loginCodes, &QAction::triggered, m_commands, &ExamCommands::printLoginCodes);
    QAction *history =
            m_toolbar->addCommand("history", tr("历次考试"),
                                  tr("历次考试的成绩、统计和图表，考生的成绩变化，备份考试存档"),
                                  QStringLiteral("history"));
    connect(history, &QAction::triggered, this, &FrmMain::showHistory);

    m_help = new HelpMenu(m_controller.folders(), m_hooks, m_messages, this);
    m_toolbar->addMenuCommand("help", tr("帮助"), tr("软件安装、使用说明"), QStringLiteral("help"),
                              m_help);
}

void FrmMain::showResultsView(bool restoreGeometry)
{
    m_results->show();
    if (restoreGeometry)
        placeViews();
    m_settings->hide();
}

void FrmMain::placeViews()
{
    // What the window has beyond its classic size goes to the toolbar and the results.
    const QSize grown = (size() - minimumSize()).expandedTo(QSize(0, 0));
    m_toolbar->place(grown.width());
    m_results->place(grown);
    m_settings->place(grown);
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeViews();
}

void FrmMain::showLoginState()
{
    const bool open = m_controller.loginOpen();
    CommandBar::showLoginCommand(m_beginStop, open);
    m_clearLast->setEnabled(!open);
    showSlipsCommand();
}

void FrmMain::showSlipsCommand()
{
    // A class list loaded or login codes required changes it as much as the gate.
    m_loginCodes->setEnabled(m_controller.slipCodes().available());
}

void FrmMain::showRows()
{
    m_results->showRows(m_controller.liveClass().live().rows());
}

void FrmMain::showCounts()
{
    // A class list being read is said where the class is counted, and is
    // not asked for a second time meanwhile.
    const ClassController &liveClass = m_controller.liveClass();
    const bool loading = liveClass.rosterLoading();
    QStringList notes;
    if (loading)
        notes << tr("正在载入名单……");
    if (!m_controller.gateNote().isEmpty())
        notes << m_controller.gateNote();
    if (!m_controller.school().status().isEmpty())
        notes << m_controller.school().status();
    m_roster->setEnabled(!loading);
    showSlipsCommand();
    m_results->showCounts(m_controller.resultCount(), liveClass.live().counts(),
                          liveClass.live().roster().has_value(), notes.join(QStringLiteral(" · ")),
                          m_controller.school().statusDetail());
}

// ---- Settings panel ----

void FrmMain::openSettingsPanel()
{
    m_results->hide();
    m_settings->open();
}

// ---- Results ----

void FrmMain::collectResults()
{
    showResultsView(false);
    m_controller.settings().discardExamText();
    // The window stays usable while the files are read; the rows come when
    // the collection ends.
    m_collect->setEnabled(false);
    setCursor(Qt::BusyCursor);
    m_controller.collectResults();
}

void FrmMain::showCollectedByHand(const QString &told)
{
    m_collect->setEnabled(true);
    unsetCursor();
    m_commands->tell(told);
}

void FrmMain::clearResults()
{
    showResultsView(false);
    m_controller.settings().discardExamText();
    m_commands->clearResults();
}

void FrmMain::showAnswerSheet(qint32 recNo)
{
    if (const std::optional<AnswerSheetPage> page = m_controller.answerSheetPage(recNo))
        (new FrmAnswerSheet(*page, this))->show();
}

void FrmMain::showHistory()
{
    // One window, read afresh each time it is asked for: the exam under way moves on.
    if (!m_history)
        m_history = new FrmHistory(m_controller.history(), m_hooks, m_messages, this);
    m_history->refresh();
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

void FrmMain::followCurrentExamInHistory()
{
    if (m_history)
        m_history->followCurrentExam();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // The console ends with its window: the About box goes too, and the
    // results database is closed.
    m_help->closeAboutBox();
    keptplace::keep(*this, m_controller.folders().application);
    endConsole();
    event->accept();
}

void FrmMain::endConsole()
{
    // A collection by hand or a retake still waiting is carried out and
    // shown, but nobody is told about it while the window goes.
    disconnect(&m_controller, &ConsoleController::collectedByHand, this,
               &FrmMain::showCollectedByHand);
    disconnect(&m_controller, &ConsoleController::retakeDone, m_commands, &ExamCommands::tell);
    m_controller.shutDown();
}

}  // namespace console
