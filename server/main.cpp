// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmmain.h"
#include "windows/helpmenu.h"

#include "exchange/desktop.h"
#include "exchange/language.h"
#include "exchange/messages.h"
#include "exchange/paths.h"
#include "exchange/programlog.h"
#include "archive/schoolupgrade.h"
#include "collect/resultstore.h"
#include "settings/consolepreferences.h"
#include "control/dataplace.h"

#include "kestrixversion.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <cstdio>
#endif

namespace {

// The manual ships beside the program (Windows, the build tree) or in the
// package's data folder (share/kestrix beside bin/ on Linux).
QString manualFolder(const QString &programFolder)
{
    const QString installed = QDir(programFolder).filePath(QStringLiteral("../share/kestrix"));
    if (!QFileInfo::exists(QDir(programFolder).filePath(HelpMenu::manualFileName()))
        && QFileInfo::exists(QDir(installed).filePath(HelpMenu::manualFileName())))
        return QDir::cleanPath(installed);
    return programFolder;
}

// The language asked for on the command line, else the one kept in the
// console's preferences (帮助 → 界面语言).
QString requestedLanguage(const QString &dataFolder)
{
    const QString asked = language::requestedOnCommandLine(QCoreApplication::arguments());
    return asked.isEmpty() ? ConsolePreferences(dataFolder).language() : asked;
}

// The school archive's tables made or upgraded by their owner, without a
// window; 0 when done, else the reason on the error output.
int upgradeSchoolArchive(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
#ifdef Q_OS_WIN
    // A windowed program has no console of its own: the answer goes to the
    // one it was started from (start /wait in cmd).
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS)
            && std::freopen("CONOUT$", "w", stdout) && std::freopen("CONOUT$", "w", stderr);
    Q_UNUSED(attached)
#endif
    const QStringList arguments = QCoreApplication::arguments();
    const ArchiveRead<QString> done = arguments.size() == 3
            ? schoolupgrade::run(arguments[2])
            : ArchiveRead<QString> { std::nullopt,
                                     QCoreApplication::translate(
                                             "Main",
                                             "用法：%1 %2 postgresql://所有者@服务器:5432/数据库")
                                             .arg(QFileInfo(arguments.value(0)).completeBaseName(),
                                                  schoolupgrade::option()) };
    QTextStream out(done.value ? stdout : stderr);
    out.setEncoding(QStringConverter::System);
    out << (done.value ? *done.value : done.problem) << Qt::endl;
    return done.value ? 0 : 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == schoolupgrade::option())
        return upgradeSchoolArchive(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-server"));
    const QString programFolder = QCoreApplication::applicationDirPath();
    console::ConsoleFolders folders;
    folders.program = manualFolder(programFolder);
    const DataPlace::Folders place = DataPlace::choose(
            folders.program, programFolder, QDir::currentPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    programlog::install(place.application, QStringLiteral("kestrix-server"));
    qCInfo(lcDesktop).noquote() << "console" << KESTRIX_VERSION_TEXT << "started, data folder"
                                << QDir::toNativeSeparators(place.application);
    const QString catalogueProblem = language::install(
            app,
            language::choose(requestedLanguage(place.application), QLocale::system().uiLanguages()),
            QStringLiteral("kestrix_server"));
    if (!catalogueProblem.isEmpty())
        qCWarning(lcDesktop).noquote() << catalogueProblem;
    if (!desktop::gbkReady())
        return 1;
    // An earlier version kept an installed console's data beside the
    // program whenever it could write there.
    const QString takenOver = place.installed
            ? DataPlace::takeOver(place.database, { programFolder, QDir::currentPath() })
            : QString();
    folders.application = place.application;
    const ConsoleSettings::StoredFolder chosen =
            ConsoleSettings(folders.application).exchangeFolderSetting();
    folders.exchange = paths::exchangeFolder(chosen.folder);
    folders.database = QDir(place.database).filePath(ResultStore::defaultFileName());
    // Beside the examiner's other documents, made on the first export.
    folders.exports = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(QStringLiteral("成绩导出"));

    console::FrmMain window(folders, ConsoleHooks::desktop());
    window.showAtKeptPlace();
    if (!takenOver.isEmpty())
        MessageBoxes(console::FrmMain::messageTitle()).inform(&window, takenOver);
    // A chosen exchange folder that cannot be read must not silently send
    // the class to another folder.
    if (!chosen.problem.isEmpty())
        MessageBoxes(console::FrmMain::messageTitle())
                .inform(&window,
                        chosen.problem
                                + QCoreApplication::translate("Main", "\n本次使用交换文件夹：")
                                + QDir::toNativeSeparators(folders.exchange));
    return app.exec();
}
