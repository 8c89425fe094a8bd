// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Another program on a SQLite file: a connection of its own that runs
// statements and holds whatever lock it took until it goes.
#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlQuery>

class SqliteHolder
{
public:
    explicit SqliteHolder(const QString &path)
    {
        static QAtomicInt counter;
        m_name = QStringLiteral("holder-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~SqliteHolder()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    SqliteHolder(const SqliteHolder &) = delete;
    SqliteHolder &operator=(const SqliteHolder &) = delete;

    bool run(const QString &statement)
    {
        return QSqlQuery(QSqlDatabase::database(m_name, false)).exec(statement);
    }

private:
    QString m_name;
};
