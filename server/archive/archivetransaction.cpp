// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivetransaction.h"

#include "archive/archivedialect.h"

#include <QSqlError>
#include <QSqlQuery>

ArchiveTransaction::ArchiveTransaction(const QSqlDatabase &connection) : m_connection(connection)
{
    m_pending = m_connection.transaction();
    if (!m_pending)
        m_beginProblem = m_connection.lastError().text();
}

ArchiveTransaction::~ArchiveTransaction()
{
    if (m_pending)
        m_connection.rollback();
}

QString ArchiveTransaction::commit()
{
    if (!m_pending)
        return m_beginProblem;
    if (!m_connection.commit())
        return m_connection.lastError().text();
    m_pending = false;
    checkpoint(m_connection);
    return {};
}

void ArchiveTransaction::checkpoint(const QSqlDatabase &connection)
{
    if (const QString statement = ArchiveDialect::of(connection).checkpoint(); !statement.isEmpty())
        QSqlQuery(connection).exec(statement);
}
