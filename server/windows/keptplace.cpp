// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/keptplace.h"

#include "control/windowplace.h"
#include "exchange/desktop.h"
#include "settings/consolepreferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace keptplace {

void show(QWidget &window, const QString &dataFolder)
{
    const std::optional<console::WindowPlace> kept = ConsolePreferences(dataFolder).windowPlace();
    if (!kept) {
        desktop::showCentred(window);
        return;
    }
    QVector<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    window.setGeometry(console::placeOnScreens(kept->inside, screens, window.minimumSize()));
    if (kept->maximised)
        window.showMaximized();
    else
        window.show();
}

void keep(const QWidget &window, const QString &dataFolder)
{
    ConsolePreferences(dataFolder)
            .setWindowPlace({ window.normalGeometry(), window.isMaximized() });
}

}  // namespace keptplace
