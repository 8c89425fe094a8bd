#include "frmmain.h"

#include "paths.h"
#include "resultstore.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-server"));

    console::ConsoleFolders folders;
    folders.program = QCoreApplication::applicationDirPath();
    folders.application = paths::applicationFolder(folders.program);
    folders.exchange = paths::exchangeFolder();
    // cj.mdb lies in the working directory the console is started in.
    folders.database = QDir::current().filePath(ResultStore::defaultFileName());
    folders.exports = QDir::tempPath();

    console::FrmMain window(folders, ConsoleHooks::desktop());
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.frameGeometry().center() + window.pos());
    return app.exec();
}
