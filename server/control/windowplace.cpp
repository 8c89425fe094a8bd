// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/windowplace.h"

#include <algorithm>

namespace console {

namespace {

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

}  // namespace

QRect placeOnScreens(const QRect &kept, const QVector<QRect> &screens, const QSize &minimum)
{
    if (screens.isEmpty())
        return kept;
    const QRect screen = *std::max_element(
            screens.cbegin(), screens.cend(),
            [&](const QRect &a, const QRect &b) { return overlap(a, kept) < overlap(b, kept); });
    const QSize size = kept.size().boundedTo(screen.size()).expandedTo(minimum);
    // A window larger than its screen keeps its top left corner on it.
    const int left =
            std::max(screen.left(), std::min(kept.left(), screen.right() + 1 - size.width()));
    const int top =
            std::max(screen.top(), std::min(kept.top(), screen.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

}  // namespace console
