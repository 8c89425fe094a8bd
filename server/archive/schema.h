// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive's tables, version by version. Plain SQL that SQLite and
// PostgreSQL both accept, no SQLite-only types, times as ISO 8601 texts;
// only the exams' ids, which each database gives in its own way, differ.
#include "archive/archivedialect.h"

#include <QStringList>

namespace archiveschema {

// The version this program writes; a newer archive is refused.
constexpr int kVersion = 7;

// The statements that take the tables from version `from` to `from + 1`
// on a database of `dialect`.
QStringList migration(int from, const ArchiveDialect &dialect);

}  // namespace archiveschema
