// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// The client's name in its title bar and on its message boxes.
inline QString clientTitle()
{
    return QStringLiteral("Kestrix客户端");
}
