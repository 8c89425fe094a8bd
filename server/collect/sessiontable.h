#pragma once
// The session ledger in the results database: the table tabSessions beside
// tabCJ, which stays as it is.
#include "collect/sessionledger.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class SessionTable
{
public:
    static QString tableName() { return QStringLiteral("tabSessions"); }

    // Creates the table when absent; problem() says when it cannot.
    explicit SessionTable(QSqlDatabase database);

    const QString &problem() const { return m_problem; }
    // Empty when the table cannot be read (problem() says why).
    std::optional<QVector<SessionEntry>> load();
    // Replaces every entry in one transaction; a table that holds exactly
    // these entries is not written.
    bool save(const QVector<SessionEntry> &entries);

private:
    bool fail(const QString &detail);

    QSqlDatabase m_db;
    QString m_problem;
};
