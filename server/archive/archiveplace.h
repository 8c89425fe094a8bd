// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where an archive lies: a SQLite file (the default, cjda.db beside
// cj.mdb), or the school's PostgreSQL database named by a libpq URI
// (postgresql://user@host:port/dbname). The URI carries no password: libpq
// reads it from its own password file.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>

class ArchivePlace
{
    Q_DECLARE_TR_FUNCTIONS(ArchivePlace)
public:
    // The environment variable that names the school archive for consoles
    // deployed by script.
    static const char *environmentVariable() { return "KESTRIX_ARCHIVE"; }
    // A school statement that runs this long is cancelled by the server;
    // one that waits this long for a lock another session holds gives up.
    static constexpr int kStatementMillis = 15000;
    static constexpr int kLockMillis = 4000;

    static ArchivePlace file(const QString &path) { return ArchivePlace(path, false); }
    // A school URI when `text` is one, else a file path.
    static ArchivePlace fromText(const QString &text);

    bool isSchool() const { return m_school; }
    // The path or the URI, as given.
    const QString &text() const { return m_text; }
    // How the examiner is shown it: a native path, or the URI without any password.
    QString shown() const;
    // A school URI with a password in it, before the host or as an option.
    bool hasPassword() const;

    // The Qt SQL driver of this place.
    QString driverName() const;
    // Sets the connection up to reach this place; the problem with the URI or empty.
    QString configure(QSqlDatabase &db, int busyMillis) const;

private:
    ArchivePlace(QString text, bool school) : m_text(std::move(text)), m_school(school) { }

    QString m_text;
    bool m_school = false;
};
