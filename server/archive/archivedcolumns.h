// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a kept exam and its rows lie in the archive's columns, for every
// class that reads them: the columns selected, the values read back, times
// as stored.
#include "archive/archivedexam.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

namespace archivecolumns {

// A time as stored: UTC in ISO form, NULL when not known.
QVariant timeValue(const QDateTime &time);
QDateTime timeOf(const QVariant &value);

// The columns of a kept exam, as examAt() reads them.
constexpr int kExamColumnCount = 14;
QString examColumns();
// The columns of a row, as rowAt() reads them.
QString rowColumns();

ArchivedExam examAt(const QSqlQuery &query);
// The row whose columns begin at `first`.
ArchivedRow rowAt(const QSqlQuery &query, int first);
// Hands each row the query selected ("exam_id, " then rowColumns(), in
// their positions) to its exam; rows of exams not among `exams` are passed over.
void addRowsTo(QSqlQuery &query, QVector<ArchivedExam> &exams);
// Reads the rows of `exams` in one statement, by their ids, along the rows'
// primary key; false when the query failed (its error says why).
bool readRowsOf(QSqlQuery &query, QVector<ArchivedExam> &exams);

QString cannotRead();

}  // namespace archivecolumns
