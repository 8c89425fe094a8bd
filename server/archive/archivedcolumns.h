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

#include <functional>

namespace archivecolumns {

// A time as stored: UTC in ISO form, NULL when not known.
QVariant timeValue(const QDateTime &time);
QDateTime timeOf(const QVariant &value);

// The columns of a kept exam, as examAt() reads them.
constexpr int kExamColumnCount = 14;
QString examColumns();
// The code a row's state is stored as; the state a stored code stands
// for, and for one that is none (NULL, or a word no console wrote) the
// state its time tells: stopped unfinished when it typed, else waiting.
QString stateCode(ExamineeState state);
ExamineeState storedState(const QVariant &code, qint16 timePass);

// The columns of a row, as rowAt() reads them; its doubts lie in a table of
// their own, one doubt a row.
constexpr int kRowColumnCount = 8;
QString rowColumns();

ArchivedExam examAt(const QSqlQuery &query);
// The row whose columns begin at `first`.
ArchivedRow rowAt(const QSqlQuery &query, int first);
// Hands each row the query selected ("exam_id, " then rowColumns(), in
// their positions) to its exam; rows of exams not among `exams` are passed over.
void addRowsTo(QSqlQuery &query, QVector<ArchivedExam> &exams);
// Hands each doubt the query selected ("exam_id, row_position, doubt", in
// their order) to the row `rowOf` finds by its exam's id and position;
// doubts of rows not found are passed over.
void addDoubtsTo(QSqlQuery &query,
                 const std::function<ArchivedRow *(qint64 examId, int position)> &rowOf);
// Reads the rows of `exams` and their doubts, by their ids, along the rows'
// primary key; false when the query failed (its error says why).
bool readRowsOf(QSqlQuery &query, QVector<ArchivedExam> &exams);
// Reads the doubts of every row of `exams`, whose rows are all read, in
// position order; `where` narrows the doubts read.
bool readDoubtsOf(QSqlQuery &query, QVector<ArchivedExam> &exams, const QString &where = {});

// Writes `rows` as the rows of exam `id`, with their doubts; the
// database's error, or empty.
QString writeRows(const QSqlDatabase &connection, qint64 id, const QVector<ArchivedRow> &rows);

QString cannotRead();

}  // namespace archivecolumns
