// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's side of the running exam's commands: the questions asked
// before login opens or closes, before clearing and before a retake, the
// class-list dialog, and what the examiner is told afterwards. The
// controller carries the commands out.
#include "control/consolecontroller.h"
#include "windows/consolehooks.h"

#include <QObject>

class Messages;

class ExamCommands : public QObject
{
    Q_OBJECT

public:
    // The questions stand in front of `window`; the controller, the hooks
    // and the messages are the window's and outlive the commands.
    ExamCommands(console::ConsoleController &controller, const ConsoleHooks &hooks,
                 Messages *messages, QWidget *window);

    void openOrCloseLogin();
    // At the start, with an exam this console left published: withdraws it
    // on a yes.
    void offerToWithdrawPublishedExam();
    // What went wrong while the console started: its folders, the archives,
    // the grading files, the kept class list.
    void tellStartUpProblems();
    void clearResults();
    void exportResults();
    // 重考 for the examinee shown in this place of the grid.
    void allowRetake(int row);
    void loadRoster();
    // Saves the exam's login codes as slips to print, and opens them.
    void printLoginCodes();
    // Tells the examiner `text`; nothing when it is empty.
    void tell(const QString &text);

private:
    void openLogin();
    void closeLogin();
    // False when another console has login open on the folder and the
    // examiner does not want `action` all the same.
    bool mayActBesideOtherConsole(console::ConsoleController::SharedAction action);

    console::ConsoleController &m_controller;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    QWidget *m_window;
};
