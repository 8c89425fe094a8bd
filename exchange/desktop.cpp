// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/desktop.h"

#include "exchange/gbk.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace desktop {

bool gbkReady()
{
    const QString problem = gbk::unavailableProblem();
    if (problem.isEmpty())
        return true;
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), problem);
    return false;
}

void showCentred(QWidget &window)
{
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.frameGeometry().center() + window.pos());
}

}  // namespace desktop
