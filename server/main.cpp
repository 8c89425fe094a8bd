// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmmain.h"
#include "windows/helpmenu.h"

#include "desktop.h"
#include "messages.h"
#include "paths.h"
#include "collect/resultstore.h"
#include "control/dataplace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-server"));
    desktop::useChineseStandardTexts(app);
    if (!desktop::gbkReady())
        return 1;

    const QString programFolder = QCoreApplication::applicationDirPath();
    console::ConsoleFolders folders;
    folders.program = manualFolder(programFolder);
    const DataPlace::Folders place = DataPlace::choose(
            folders.program, programFolder, QDir::currentPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
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
    // A damaged exchange.txt must not silently send the class to another folder.
    if (!chosen.problem.isEmpty())
        MessageBoxes(console::FrmMain::messageTitle())
                .inform(&window,
                        chosen.problem + QStringLiteral("\n本次使用交换文件夹：")
                                + QDir::toNativeSeparators(folders.exchange));
    return app.exec();
}
