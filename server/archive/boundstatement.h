// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A statement with its values, prepared and run on a query. Qt's
// PostgreSQL driver prepares on the server: a statement refused there (a
// table locked past the lock timeout, a statement timeout) leaves the
// query unprepared, and running it anyway sends an empty EXECUTE whose
// syntax error replaces the server's reason. Each step's error is read
// where it happens.
#include <QString>
#include <QVariantList>

class QSqlQuery;

namespace boundstatement {

// Prepares `statement`; the database's error text, empty when it is ready to run.
QString prepare(QSqlQuery &query, const QString &statement);
// Runs the prepared statement with `values` bound in order; the error text or empty.
QString execute(QSqlQuery &query, const QVariantList &values = {});
// Prepares and runs; the error text of whichever step failed, or empty.
QString run(QSqlQuery &query, const QString &statement, const QVariantList &values = {});

}  // namespace boundstatement
