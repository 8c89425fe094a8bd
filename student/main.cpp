#include "desktop.h"
#include "examinee.h"
#include "frmlogin.h"
#include "frmmain.h"

#include <QApplication>
#include <QDir>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    desktop::useChineseStandardTexts(app);
    std::unique_ptr<FrmMain> typing;
    FrmLogin login(QDir::currentPath());
    QObject::connect(&login, &FrmLogin::loggedIn, &app, [&](const Examinee &examinee) {
        // Closing the login window afterwards leaves the typing window as the
        // program's window; it ends the program once the result is safe.
        typing = std::make_unique<FrmMain>(examinee, QDir::currentPath());
        QObject::connect(typing.get(), &FrmMain::examLeft, &app, &QApplication::quit);
        desktop::showCentred(*typing);
    });
    desktop::showCentred(login);
    return app.exec();
}
