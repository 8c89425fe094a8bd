#include "messages.h"

#include <QMessageBox>

namespace {

int showBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kestrix客户端"), text, buttons, parent);
    return box.exec();
}

}  // namespace

void MessageBoxes::inform(QWidget *parent, const QString &text)
{
    showBox(parent, text, QMessageBox::Ok);
}

bool MessageBoxes::confirm(QWidget *parent, const QString &text)
{
    return showBox(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
