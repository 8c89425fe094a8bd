// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libpq's own password file, where the school archive's password lives:
// PGPASSFILE when set, else %APPDATA%\postgresql\pgpass.conf on Windows and
// ~/.pgpass elsewhere. The console never keeps a password itself; it only
// writes the entry for the archive's URI here, readable by the user alone.
#include <QString>

namespace pgpassfile {

QString path();

// Writes (or replaces) the entry for the host, port, database and user of
// `uri` in the file at `file`, leaving every other entry as it was, and
// makes the file the user's alone. The problem or empty.
QString writeEntry(const QString &file, const QString &uri, const QString &password);

}  // namespace pgpassfile
