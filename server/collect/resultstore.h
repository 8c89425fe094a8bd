// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results database: the table tabCJ in the SQLite file cj.mdb, one row
// per result file of the last collection.
#include "collect/resultcore.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <optional>

// A row of the table is the result itself.
using ResultRow = ResultCore;

class QSqlQuery;

// A row from the query's columns `first` on, in the order recno, banname,
// xuehao, xingming, speed, zhengquelv, timepass.
ResultRow resultRowFrom(const QSqlQuery &query, int first = 0);
// Binds the row to the placeholders `first` on, in the same order.
void bindResultRow(QSqlQuery &query, const ResultRow &row, int first = 0);

class ResultStore
{
    Q_DECLARE_TR_FUNCTIONS(ResultStore)
public:
    static QString tableName() { return QStringLiteral("tabCJ"); }
    static QString defaultFileName() { return QStringLiteral("cj.mdb"); }
    // How long a statement waits for another program's lock on the file.
    static constexpr int kBusyMillis = 1000;
    // Fastest typist first; equal speeds keep the order they were read in.
    static QString rankOrder() { return QStringLiteral("ORDER BY speed DESC, recno ASC"); }

    // Opens the database file, creating it and the table when absent.
    explicit ResultStore(const QString &databasePath);
    ~ResultStore();
    ResultStore(const ResultStore &) = delete;
    ResultStore &operator=(const ResultStore &) = delete;

    bool isOpen() const { return m_open; }
    // The last database error as the examiner is told it; empty when none.
    const QString &lastError() const { return m_lastError; }
    QSqlDatabase database() const;

    // Empty when the table cannot be read (lastError says why).
    std::optional<int> rowCount();
    bool clear();
    // Replaces the whole table in one transaction: on any error the
    // previous rows stay as they were. A table that already holds exactly
    // these rows is not written at all. After it, cj.mdb alone holds the rows.
    bool replaceAll(const QVector<ResultRow> &rows);
    // Empty when the table cannot be read (lastError says why).
    std::optional<QVector<ResultRow>> rowsInRankOrder();
    // Ends every use of the file (the console closes it when it ends).
    void close();

private:
    std::optional<QVector<ResultRow>> readRows(const QString &order, QString &problem);
    void checkpoint();
    bool fail(const QString &what, const QString &detail);

    QString m_connection;
    QString m_path;
    QString m_lastError;
    bool m_open = false;
};
