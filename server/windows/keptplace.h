// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console window where it was left: on a screen that is still there,
// maximised if it was, centred the first time.
class QString;
class QWidget;

namespace keptplace {

void show(QWidget &window, const QString &dataFolder);
// A place that cannot be kept only means the classic size next time.
void keep(const QWidget &window, const QString &dataFolder);

}  // namespace keptplace
