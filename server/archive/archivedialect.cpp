// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedialect.h"

namespace {

// The advisory locks' keys, the same in every console of a school.
constexpr qint64 kMigrationLockKey = 0x4b45535452495801;  // "KESTRIX", 1
constexpr qint64 kKeepLockKey = 0x4b45535452495802;

}  // namespace

ArchiveDialect ArchiveDialect::of(const QSqlDatabase &connection)
{
    return ArchiveDialect(connection.driverName() == QLatin1String("QPSQL"));
}

QStringList ArchiveDialect::openingStatements() const
{
    if (m_postgres)
        return {};
    return { QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL") };
}

QString ArchiveDialect::migrationLock() const
{
    return m_postgres ? QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kMigrationLockKey)
                      : QString();
}

QString ArchiveDialect::migrationUnlock() const
{
    return m_postgres ? QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kMigrationLockKey)
                      : QString();
}

QStringList ArchiveDialect::keepLock() const
{
    if (m_postgres)
        return { QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"),
                 QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kKeepLockKey) };
    return { QStringLiteral("UPDATE archive_schema SET version = version") };
}

QString ArchiveDialect::checkpoint() const
{
    return m_postgres ? QString() : QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)");
}
