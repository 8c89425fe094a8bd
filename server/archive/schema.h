// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive's tables, version by version. Plain SQL that SQLite and
// PostgreSQL both accept, no SQLite-only types, times as ISO 8601 texts;
// only the exams' ids, which each database gives in its own way, and a
// school's rights, which a file does not have, differ.
#include "archive/archivedialect.h"

#include <QStringList>

namespace archiveschema {

// The version this program writes; a newer archive is refused.
constexpr int kVersion = 9;

// The role every lab's login role is a member of on a school's server: it
// may read every exam and keep, change and delete its own.
inline QString labsRole()
{
    return QStringLiteral("kestrix_labs");
}

// The statements that take the tables from version `from` to `from + 1`
// on a database of `dialect`.
QStringList migration(int from, const ArchiveDialect &dialect);

}  // namespace archiveschema
