// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The school archive's tables made, or brought up to this version, by the
// role that owns them: once, by the school's IT person, from the command
// line. Labs' consoles only use the tables.
#include "archive/archivedexam.h"

#include <QString>

namespace schoolupgrade {

// The command line's option; the school archive's address follows it.
inline QString option()
{
    return QStringLiteral("--upgrade-school-archive");
}

// What was done to the school archive at `address`, or why nothing could be.
ArchiveRead<QString> run(const QString &address);

}  // namespace schoolupgrade
