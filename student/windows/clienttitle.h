// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QCoreApplication>

// The client's name in its title bar and on its message boxes.
inline QString clientTitle()
{
    return QCoreApplication::translate("Clienttitle", "Kestrix客户端");
}
