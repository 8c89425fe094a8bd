// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The session ledger in the results database: the table tabSessions beside
// tabCJ, which stays as it is.
#include "collect/sessionledger.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

class SessionTable
{
    Q_DECLARE_TR_FUNCTIONS(SessionTable)
public:
    static QString tableName() { return QStringLiteral("tabSessions"); }

    // Creates the table when absent; problem() says when it cannot.
    explicit SessionTable(QSqlDatabase database);

    const QString &problem() const { return m_problem; }
    // Empty when the table cannot be read (problem() says why). Finished
    // records come only with the sessions set aside. With publications,
    // only their sessions and those that name none: the sessions of an
    // earlier exam stay in the table, but are no logins of this one.
    std::optional<QVector<SessionEntry>> load(const QStringList &publications = {});
    // The finished record of one session; empty when there is none.
    QByteArray finishedRecord(const SessionEntry &entry);
    // Writes the entries changed since load() in one transaction; a session
    // that finished since then keeps `collectedRecord` of it (see
    // SessionEntry::finishedFile).
    bool save(const QVector<SessionEntry> &entries,
              const SessionLedger::FinishedRecord &collectedRecord = {});
    bool clear();

private:
    bool fail(const QString &detail);
    void addTimelineColumns();

    QSqlDatabase m_db;
    QString m_problem;
};
