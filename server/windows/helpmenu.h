// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The toolbar's 帮助 menu (helpMenu): 使用说明 opens the manual that ships
// beside the program, 打开日志文件夹 the folder of the console's log, 界面语言
// keeps the language of the next start, 关于 shows the one About box.
#include "control/consolefolders.h"
#include "windows/consolehooks.h"
#include "windows/frmabout.h"

#include <QMenu>
#include <QPointer>

class Messages;

class HelpMenu : public QMenu
{
    Q_OBJECT

public:
    static QString manualFileName() { return QStringLiteral("安装使用说明.html"); }

    // The hooks and the messages are the window's and outlive the menu.
    HelpMenu(const console::ConsoleFolders &folders, const ConsoleHooks &hooks, Messages *messages,
             QWidget *window);
    // The About box has no parent: it goes with the menu.
    ~HelpMenu() override;

    FrmAbout *aboutBox() const { return m_about; }
    void closeAboutBox();

private:
    void openManual();
    void openLogFolder();
    void showAbout();
    void addLanguageChoice();
    void chooseLanguage(const QString &name);

    QString m_programFolder;
    QString m_dataFolder;
    QString m_logFolder;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    QPointer<FrmAbout> m_about;
};
