// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/messages.h"

#include "exchange/programlog.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QCoreApplication>

namespace {

int showBox(QWidget *parent, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // The buttons speak the program's language whatever translations the
    // machine has installed.
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        { QMessageBox::Ok, QCoreApplication::translate("Messages", "确定") },
        { QMessageBox::Yes, QCoreApplication::translate("Messages", "是") },
        { QMessageBox::No, QCoreApplication::translate("Messages", "否") },
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
    // What the user was told, to be read again when they report it.
    qCInfo(lcDesktop).noquote() << "told:" << text;
    showBox(parent, m_title, text, QMessageBox::Ok);
}

bool MessageBoxes::confirm(QWidget *parent, const QString &text)
{
    qCInfo(lcDesktop).noquote() << "asked:" << text;
    const auto defaultButton =
            m_defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::NoButton;
    const bool yes =
            showBox(parent, m_title, text, QMessageBox::Yes | QMessageBox::No, defaultButton)
            == QMessageBox::Yes;
    qCInfo(lcDesktop) << "answered:" << (yes ? "yes" : "no");
    return yes;
}
