// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's console window. It hosts the toolbar, the results view
// and the settings panel, wires each to the controller of its job, and
// shows the controllers' state; the examiner's questions around the exam's
// commands are ExamCommands', the help menu is HelpMenu.
#include "control/consolecontroller.h"
#include "windows/consolehooks.h"
#include "windows/frmabout.h"

#include "exchange/messages.h"

#include <QPointer>
#include <QWidget>

class QAction;
class CommandBar;
class ExamCommands;
class HelpMenu;
class ResultsView;
class SettingsPanel;
class FrmHistory;

namespace console {

class FrmMain : public QWidget
{
    Q_OBJECT

public:
    static QString messageTitle() { return tr("打字考试服务器"); }

    // Without `messages` the window shows real message boxes.
    FrmMain(ConsoleFolders folders, ConsoleHooks hooks, Messages *messages = nullptr,
            QWidget *parent = nullptr);
    ~FrmMain() override;

    // Shows the window where the examiner left it, on a screen there is
    // now; centred at its classic size the first time.
    void showAtKeptPlace();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    ConsoleController &controller() { return m_controller; }
    FrmAbout *aboutBox() const;

private:
    void buildToolbar();
    void showResultsView(bool restoreGeometry);
    void placeViews();
    void showLoginState();
    void showSlipsCommand();
    void showRows();
    void showCounts();
    // The controller's end, when the window closes or goes.
    void endConsole();

    // The toolbar's commands that are the window's own.
    void openSettingsPanel();
    void collectResults();
    // The collection by hand was shown: the command is free again.
    void showCollectedByHand(const QString &told);
    void clearResults();
    void showAnswerSheet(qint32 recNo);
    void showHistory();
    void followCurrentExamInHistory();

    ConsoleController m_controller;
    ConsoleHooks m_hooks;
    MessageBoxes m_boxes;
    Messages *m_messages;

    ExamCommands *m_commands = nullptr;
    CommandBar *m_toolbar = nullptr;
    QAction *m_clearLast = nullptr;
    QAction *m_collect = nullptr;  // 获取成绩, disabled while its collection runs
    QAction *m_beginStop = nullptr;
    QAction *m_roster = nullptr;
    QAction *m_loginCodes = nullptr;  // enabled while there are slips to print
    ResultsView *m_results = nullptr;
    SettingsPanel *m_settings = nullptr;
    HelpMenu *m_help = nullptr;
    QPointer<FrmHistory> m_history;
};

}  // namespace console
