// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window geometry is designed in twips; the screen works in pixels at 15
// twips per pixel (96 DPI logical), Qt's high-DPI scaling does the rest.
#include <QRect>
#include <QtMath>

namespace twips {

inline int px(int twips)
{
    return qRound(twips / 15.0);
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace twips
