// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive's tables, version by version. Plain SQL that SQLite and
// PostgreSQL both accept: no AUTOINCREMENT (ids are given by the archive),
// no SQLite-only types, times as ISO 8601 texts.
#include <QStringList>

namespace archiveschema {

// The version this program writes; a newer archive is refused.
constexpr int kVersion = 6;

// The statements that take the tables from version `from` to `from + 1`.
QStringList migration(int from);

}  // namespace archiveschema
