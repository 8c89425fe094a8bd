#include "frmmain.h"

#include "desktop.h"
#include "paths.h"
#include "resultstore.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

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
    // Beside the examiner's other documents, made on the first export.
    folders.exports = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                          .filePath(QStringLiteral("成绩导出"));

    console::FrmMain window(folders, ConsoleHooks::desktop());
    desktop::showCentred(window);
    return app.exec();
}
