// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive's database, written through Qt SQL: the SQLite file beside
// cj.mdb or the school's PostgreSQL database; opened or created, brought
// up to the current schema, backed up, closed. A file that is damaged,
// locked, of a newer schema or no archive at all is refused and left
// exactly as it was; the console then runs without archiving. A school
// database that cannot be reached, refuses the login or is of a newer
// schema is refused the same way, saying which.
#include "archive/archiveplace.h"
#include "archive/archivetransaction.h"
#include "collect/resultstore.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class ArchiveDatabase
{
    Q_DECLARE_TR_FUNCTIONS(ArchiveDatabase)
public:
    static QString defaultFileName() { return QStringLiteral("cjda.db"); }
    static constexpr int kBusyMillis = ResultStore::kBusyMillis;

    // What opening a school database may do to its tables: a lab's console
    // only uses them; the owner's upgrade creates them or brings them up to
    // the current schema. A file is always created or brought up to date.
    enum class Tables { Use, Upgrade };

    // Opens the archive, creating it when absent and bringing an older one
    // up to the current schema (a school's, only with Tables::Upgrade).
    explicit ArchiveDatabase(const ArchivePlace &place, Tables tables = Tables::Use);
    explicit ArchiveDatabase(const QString &path) : ArchiveDatabase(ArchivePlace::file(path)) { }
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase &) = delete;
    ArchiveDatabase &operator=(const ArchiveDatabase &) = delete;

    const ArchivePlace &place() const { return m_place; }
    const QString &path() const { return m_place.text(); }
    bool isOpen() const { return m_open; }
    // Why the archive was refused, naming the place; empty when it is open.
    const QString &startProblem() const { return m_startProblem; }
    // The schema version the archive had when it was opened (0: no tables).
    int versionFound() const { return m_versionFound; }
    // The login role this console reads and writes a school archive as: the
    // lab's; empty for a file.
    const QString &role() const { return m_role; }

    // A consistent copy of the whole archive file at `target`, written
    // beside it and renamed into place; an existing file there is replaced
    // only then. A school database is backed up on its server.
    QString backUpTo(const QString &target);

    void close();

protected:
    friend class ArchiveQuery;
    friend class ConnectionWatch;

    QSqlDatabase connection() const;
    // What failed with the archive, for the examiner: `what`, the place and the
    // database's `detail`, and what to do when another program holds it.
    QString failed(const QString &what, const QString &detail) const;
    // Why a write cannot go ahead in `transaction`: the archive was refused
    // at the start, or the transaction did not begin (`what` failed); empty
    // when it can.
    QString writeRefused(const ArchiveTransaction &transaction, const QString &what) const;

private:
    QString refuse(const QString &reason, const QString &detail = {});
    QString sqliteFileProblem();
    // The file's disk, full or read-only; empty when it takes writes (and for a school database).
    QString diskProblem() const;
    // Why a file could not be used: its disk when that is full or
    // read-only, else `reason`.
    QString fileReason(const QString &reason) const;
    QString migrate();
    QString migrateLocked();
    QString readRole();
    // Why a lab's console cannot use a school's tables yet: `why`, and what the IT person does.
    static QString notSetUp(const QString &why);
    std::optional<int> schemaVersion(QString &problem);

    QString m_connection;
    ArchivePlace m_place;
    QString m_startProblem;
    QString m_role;
    Tables m_tables = Tables::Use;
    int m_versionFound = 0;
    bool m_open = false;
};

// Reads of an open archive kept in a class of their own, over its connection.
class ArchiveQuery
{
public:
    explicit ArchiveQuery(ArchiveDatabase &archive) : m_archive(archive) { }

protected:
    bool isOpen() const { return m_archive.isOpen(); }
    const QString &startProblem() const { return m_archive.startProblem(); }
    QSqlDatabase connection() const { return m_archive.connection(); }
    QString failed(const QString &what, const QString &detail) const
    {
        return m_archive.failed(what, detail);
    }

private:
    ArchiveDatabase &m_archive;
};
