// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop.h"

#include "gbk.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

namespace desktop {

void useChineseStandardTexts(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

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
