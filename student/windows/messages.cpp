#include "windows/messages.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

int showBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kestrix客户端"), text, buttons, parent);
    // The buttons speak the program's language whatever translations the
    // machine has installed.
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Ok, QStringLiteral("确定")},
        {QMessageBox::Yes, QStringLiteral("是")},
        {QMessageBox::No, QStringLiteral("否")},
    };
    for (const auto &[which, caption] : captions) {
        if (QAbstractButton *button = box.button(which))
            button->setText(caption);
    }
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
