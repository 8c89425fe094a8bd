// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/boundstatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QCoreApplication>

namespace boundstatement {

QString prepare(QSqlQuery &query, const QString &statement)
{
    if (query.prepare(statement))
        return {};
    const QString detail = query.lastError().text();
    // A driver that says nothing still must not let the statement run.
    return detail.trimmed().isEmpty()
            ? QCoreApplication::translate("boundstatement", "无法准备查询")
            : detail;
}

QString execute(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    return query.exec() ? QString() : query.lastError().text();
}

QString run(QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    if (const QString detail = prepare(query, statement); !detail.isEmpty())
        return detail;
    return execute(query, values);
}

}  // namespace boundstatement
