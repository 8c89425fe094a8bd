#include "frmmain.h"

#include "desktop.h"
#include "paths.h"
#include "resultstore.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-server"));
    desktop::useChineseStandardTexts(app);

    console::ConsoleFolders folders;
    folders.program = QCoreApplication::applicationDirPath();
    folders.application = paths::applicationFolder(folders.program);
    folders.exchange = paths::exchangeFolder();
    // cj.mdb lies in the working directory the console is started in.
    folders.database = QDir::current().filePath(ResultStore::defaultFileName());
    folders.exports = QDir::tempPath();

    console::FrmMain window(folders, ConsoleHooks::desktop());
    desktop::showCentred(window);
    return app.exec();
}
