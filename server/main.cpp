#include "windows/frmmain.h"

#include "desktop.h"
#include "messages.h"
#include "paths.h"
#include "collect/resultstore.h"

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
    if (!QFileInfo::exists(QDir(programFolder).filePath(console::FrmMain::manualFileName()))
        && QFileInfo::exists(QDir(installed).filePath(console::FrmMain::manualFileName())))
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

    console::ConsoleFolders folders;
    folders.program = manualFolder(QCoreApplication::applicationDirPath());
    folders.application = paths::applicationFolder(QCoreApplication::applicationDirPath());
    const ConsoleSettings::StoredFolder chosen =
            ConsoleSettings(folders.application).exchangeFolderSetting();
    folders.exchange = paths::exchangeFolder(chosen.folder);
    // cj.mdb lies in the folder the console is started in, or in the user's
    // data folder when that one is read-only (a Start-menu shortcut into
    // Program Files).
    folders.database = QDir(paths::workingFolder(QDir::currentPath()))
                               .filePath(ResultStore::defaultFileName());
    // Beside the examiner's other documents, made on the first export.
    folders.exports = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(QStringLiteral("成绩导出"));

    console::FrmMain window(folders, ConsoleHooks::desktop());
    desktop::showCentred(window);
    // A damaged exchange.txt must not silently send the class to another folder.
    if (!chosen.problem.isEmpty())
        MessageBoxes(console::FrmMain::messageTitle())
                .inform(&window,
                        chosen.problem + QStringLiteral("\n本次使用交换文件夹：")
                                + QDir::toNativeSeparators(folders.exchange));
    return app.exec();
}
