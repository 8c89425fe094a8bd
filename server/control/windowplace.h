// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the place where the examiner left the console's window comes back
// onto the screens there are at the next start.
#include <QRect>
#include <QVector>

namespace console {

// The kept rectangle moved wholly onto the screen (available area) that
// holds most of it, or onto the first screen when none holds any of it (a
// second monitor since unplugged); no larger than that screen and no
// smaller than `minimum`. Unchanged when there are no screens.
QRect placeOnScreens(const QRect &kept, const QVector<QRect> &screens, const QSize &minimum);

}  // namespace console
