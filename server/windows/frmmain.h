// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's console window. It hosts the toolbar, whose commands it
// hands to the console's controller, the results view and the settings
// panel, and shows the controller's state; message boxes and dialogs are
// its part of each command.
#include "control/consolecontroller.h"
#include "windows/consolehooks.h"
#include "windows/frmabout.h"

#include "messages.h"

#include <QPointer>
#include <QWidget>

class QAction;
class CommandBar;
class ResultsView;
class SettingsPanel;
class FrmHistory;

namespace console {

class FrmMain : public QWidget
{
    Q_OBJECT

public:
    static QString manualFileName() { return QStringLiteral("安装使用说明.html"); }
    static QString messageTitle() { return QStringLiteral("打字考试服务器"); }

    // Without `messages` the window shows real message boxes.
    FrmMain(ConsoleFolders folders, ConsoleHooks hooks, Messages *messages = nullptr,
            QWidget *parent = nullptr);
    ~FrmMain() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    ConsoleController &controller() { return m_controller; }
    FrmAbout *aboutBox() const { return m_about; }

private:
    void buildToolbar();
    void showResultsView(bool restoreGeometry);
    void placeViews();
    void showLoginState();
    void showRows();
    void showCounts();

    // One slot per toolbar command and help menu entry.
    void openOrCloseLogin();
    void openLogin();
    void closeLogin();
    void offerToWithdrawPublishedExam();

    void openSettingsPanel();

    void collectResults();
    void clearResults();
    void exportResults();
    void allowRetake(int row);
    void showAnswerSheet(qint32 recNo);
    void loadRoster();
    void showHistory();

    void openManual();
    void showAbout();

    void tell(const QString &text);
    // False when another console has login open on the folder and the
    // examiner does not want `action` all the same.
    bool mayActBesideOtherConsole(ConsoleController::SharedAction action);

    ConsoleController m_controller;
    ConsoleHooks m_hooks;
    MessageBoxes m_boxes;
    Messages *m_messages;

    CommandBar *m_toolbar = nullptr;
    QAction *m_clearLast = nullptr;
    QAction *m_beginStop = nullptr;
    QAction *m_roster = nullptr;
    ResultsView *m_results = nullptr;
    SettingsPanel *m_settings = nullptr;
    QPointer<FrmAbout> m_about;
    QPointer<FrmHistory> m_history;
};

}  // namespace console
