#include "examinee.h"
#include "frmmain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains(QLatin1String("--typing"))) {
        // The typing window on te.txt in the working folder, for a sample
        // examinee with a ten-minute exam.
        const Examinee sample{QStringLiteral("127.0.0.1"), QStringLiteral("计算机系"),
                              QStringLiteral("2026001"), QStringLiteral("张三"), 10};
        FrmMain window(sample, QDir::currentPath());
        QObject::connect(&window, &FrmMain::exitRequested, &app, &QApplication::quit);
        window.show();
        return app.exec();
    }
    return 0;
}
