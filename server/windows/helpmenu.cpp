// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/helpmenu.h"

#include "messages.h"

#include <QDir>

HelpMenu::HelpMenu(QString programFolder, const ConsoleHooks &hooks, Messages *messages,
                   QWidget *window)
    : QMenu(window), m_programFolder(std::move(programFolder)), m_hooks(hooks), m_messages(messages)
{
    setObjectName(QStringLiteral("helpMenu"));
    QAction *manual = addAction(QStringLiteral("使用说明"));
    manual->setObjectName(QStringLiteral("manual"));
    connect(manual, &QAction::triggered, this, &HelpMenu::openManual);
    QAction *about = addAction(QStringLiteral("关于"));
    about->setObjectName(QStringLiteral("about"));
    connect(about, &QAction::triggered, this, &HelpMenu::showAbout);
}

HelpMenu::~HelpMenu()
{
    delete m_about;
}

void HelpMenu::closeAboutBox()
{
    if (m_about)
        m_about->close();
}

void HelpMenu::openManual()
{
    // Where no program opens the page, the examiner still learns where it is.
    const QString manual = QDir(m_programFolder).filePath(manualFileName());
    if (!m_hooks.openUrl(QUrl::fromLocalFile(manual)))
        m_messages->inform(parentWidget(),
                           QStringLiteral("没有找到能打开使用说明的程序。使用说明在：\n%1")
                                   .arg(QDir::toNativeSeparators(manual)));
}

void HelpMenu::showAbout()
{
    if (!m_about) {
        m_about = new FrmAbout(m_hooks.openUrl,
                               QDir(m_programFolder).filePath(FrmAbout::licenceFileName()));
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->showInFrontOf(parentWidget());
}
