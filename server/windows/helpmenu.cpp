// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/helpmenu.h"

#include "settings/consolepreferences.h"
#include "exchange/messages.h"
#include "exchange/programlog.h"

#include <QActionGroup>
#include <QDir>

HelpMenu::HelpMenu(const console::ConsoleFolders &folders, const ConsoleHooks &hooks,
                   Messages *messages, QWidget *window)
    : QMenu(window),
      m_programFolder(folders.program),
      m_dataFolder(folders.application),
      m_logFolder(programlog::folder(folders.application)),
      m_hooks(hooks),
      m_messages(messages)
{
    setObjectName(QStringLiteral("helpMenu"));
    QAction *manual = addAction(tr("使用说明"));
    manual->setObjectName(QStringLiteral("manual"));
    connect(manual, &QAction::triggered, this, &HelpMenu::openManual);
    QAction *log = addAction(tr("打开日志文件夹"));
    log->setObjectName(QStringLiteral("logFolder"));
    connect(log, &QAction::triggered, this, &HelpMenu::openLogFolder);
    addLanguageChoice();
    QAction *about = addAction(tr("关于"));
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
                           tr("没有找到能打开使用说明的程序。使用说明在：\n%1")
                                   .arg(QDir::toNativeSeparators(manual)));
}

void HelpMenu::openLogFolder()
{
    // Made here too, for a console whose log could not be written yet.
    QDir().mkpath(m_logFolder);
    if (!m_hooks.openUrl(QUrl::fromLocalFile(m_logFolder)))
        m_messages->inform(parentWidget(),
                           tr("没有找到能打开文件夹的程序。日志在：\n%1")
                                   .arg(QDir::toNativeSeparators(m_logFolder)));
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

void HelpMenu::addLanguageChoice()
{
    QMenu *languages = addMenu(tr("界面语言"));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(languages);
    const QString kept = ConsolePreferences(m_dataFolder).language();
    const struct
    {
        const char *objectName;
        QString text;
        QString name;
    } choices[] = { { "languageSystem", tr("跟随系统"), QString() },
                    { "languageChinese", QStringLiteral("中文"), QStringLiteral("zh_CN") },
                    { "languageEnglish", QStringLiteral("English"), QStringLiteral("en") } };
    for (const auto &choice : choices) {
        QAction *action = languages->addAction(choice.text);
        action->setObjectName(QString::fromLatin1(choice.objectName));
        action->setCheckable(true);
        action->setChecked(choice.name == kept);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, name = choice.name] { chooseLanguage(name); });
    }
}

void HelpMenu::chooseLanguage(const QString &name)
{
    const QString problem = ConsolePreferences(m_dataFolder).setLanguage(name);
    m_messages->inform(parentWidget(),
                       problem.isEmpty() ? tr("界面语言将在下次启动考试服务器时更改。") : problem);
}
