// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between the archive's two databases, SQLite and PostgreSQL,
// kept here alone: the statements a connection starts with, the locks that
// let several consoles share one database, the log kept beside a file.
// Tables and queries are the same on both.
#include "archive/archiveplace.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class ArchiveDialect
{
public:
    static ArchiveDialect of(const QSqlDatabase &connection);
    static ArchiveDialect of(const ArchivePlace &place) { return ArchiveDialect(place.isSchool()); }

    bool isPostgres() const { return m_postgres; }

    // Run once the connection is open. On a file, the log makes each kept
    // exam atomic, and each commit reaches the disk before the results
    // table is cleared.
    QStringList openingStatements() const;
    // Taken before the schema's version is read and released after the
    // migration: on a shared database one console migrates, the others wait.
    QString migrationLock() const;
    QString migrationUnlock() const;
    // Run first in the transaction that keeps an exam: a lock held until
    // it ends, so that two consoles keeping at once look for the exam's key
    // one after the other. On a server the keep reads at read committed
    // whatever the server's default, so that once the lock is held it sees
    // the exams kept meanwhile (a snapshot taken before would not, and
    // would keep a second copy or fail to serialize). A file is locked by
    // a write: taken before anything is read, since a transaction that
    // read first cannot write once another connection (the sender's
    // thread) has committed.
    QStringList keepLock() const;
    // Copies a file's log into the file itself after a commit, so that the
    // file alone holds the archive; nothing on a server.
    QString checkpoint() const;

private:
    explicit ArchiveDialect(bool postgres) : m_postgres(postgres) { }

    bool m_postgres = false;
};
