// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/desktop.h"
#include "exchange/language.h"
#include "exam/inputmethods.h"
#include "transfer/examinee.h"
#include "windows/frmlogin.h"
#include "windows/frmmain.h"
#include "exchange/paths.h"
#include "exchange/programlog.h"

#include "kestrixversion.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-student"));
    const QString catalogueProblem = language::install(
            app,
            language::choose(language::requestedOnCommandLine(QApplication::arguments()),
                             QLocale::system().uiLanguages()),
            QStringLiteral("kestrix_student"));
    if (!desktop::gbkReady())
        return 1;
    // ip.txt and the downloaded exam files live in the working folder; a
    // shortcut may start the client in a program folder it cannot write to.
    QDir::setCurrent(paths::workingFolder(QDir::currentPath()));
    programlog::install(QDir::currentPath(), QStringLiteral("kestrix-student"));
    qCInfo(lcDesktop).noquote() << "client" << KESTRIX_VERSION_TEXT << "started, working folder"
                                << QDir::toNativeSeparators(QDir::currentPath());
    if (!catalogueProblem.isEmpty())
        qCWarning(lcDesktop).noquote() << catalogueProblem;
    std::unique_ptr<FrmMain> typing;
    FrmLogin login(QDir::currentPath());
    QObject::connect(&login, &FrmLogin::loggedIn, &app, [&](const Examinee &examinee) {
        // Closing the login window afterwards leaves the typing window as the
        // program's window; it ends the program once the result is safe.
        FrmMainServices services;
        services.resume = login.session().resumePoint();
        typing = std::make_unique<FrmMain>(examinee, QDir::currentPath(), std::move(services));
        QObject::connect(typing.get(), &FrmMain::examLeft, &app, &QApplication::quit);
        desktop::showCentred(*typing);
    });
    desktop::showCentred(login);
    return app.exec();
}
