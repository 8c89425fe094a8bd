#include "windows/consolehooks.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

ConsoleHooks ConsoleHooks::desktop()
{
    ConsoleHooks hooks;
    hooks.showMessage = [](QWidget *parent, const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, messageTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    };
    hooks.ask = [](QWidget *parent, const QString &question) {
        return QMessageBox::question(parent, messageTitle(), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                == QMessageBox::Yes;
    };
    hooks.chooseArticle = [](QWidget *parent, const QString &initialFolder) {
        return QFileDialog::getOpenFileName(parent, QString(), initialFolder, articleFilter());
    };
    hooks.chooseRoster = [](QWidget *parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("载入考生名单"), QString(),
                                            rosterFilter());
    };
    hooks.chooseFolder = [](QWidget *parent, const QString &initialFolder) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("选择交换文件夹"),
                                                 initialFolder);
    };
    hooks.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return hooks;
}
