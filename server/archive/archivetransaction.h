// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One transaction on the archive: begun when made, rolled back when it goes
// uncommitted, so that a write failing halfway leaves the tables as they were.
#include <QSqlDatabase>
#include <QString>

class ArchiveTransaction
{
public:
    explicit ArchiveTransaction(const QSqlDatabase &connection);
    ~ArchiveTransaction();
    ArchiveTransaction(const ArchiveTransaction &) = delete;
    ArchiveTransaction &operator=(const ArchiveTransaction &) = delete;

    // Why the transaction could not begin; empty when it did.
    const QString &beginProblem() const { return m_beginProblem; }
    // Commits, then checkpoints; why the commit failed, or empty.
    QString commit();

    // Copies a file's log into the file itself and empties it: the file
    // alone then holds the archive, and a copy of it is whole.
    static void checkpoint(const QSqlDatabase &connection);

private:
    QSqlDatabase m_connection;
    QString m_beginProblem;
    bool m_pending = false;  // begun, and neither committed nor rolled back
};
