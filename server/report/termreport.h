// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The term report: one workbook over the chosen exams, oldest first. A
// summary sheet (one row per examinee: speed and grade in each exam, then
// best, mean and trend), a sheet of the class's figures per exam with
// native charts of the mean speed and the grade shares, and one sheet per
// exam with its ranking. Numbers are numbers; texts go in by the one rule
// for cells (celltext), and the cells it changed are listed. Every sheet
// prints one page wide with its heading row on each page, and each chart
// on a page of its own.
#include "archive/archivedexam.h"

#include <functional>

namespace termreport {

QString summarySheetName();
QString chartSheetName();

// Told after each exam is written; false cancels the report.
using Progress = std::function<bool(int done, int total)>;

struct Outcome
{
    QString problem;  // empty when written or cancelled
    bool cancelled = false;  // nothing is left behind then
    QStringList changed {};  // cells written differently from the archive, e.g. "汇总 第5行：……"
};

// "学期报告-20260302-20260321.xlsx": the name offered for a term's report,
// by the days of its first and last exam.
QString defaultFileName(const QDateTime &first, const QDateTime &last);

Outcome write(const QVector<ArchivedExam> &exams, const QString &path, const Progress &progress);

}  // namespace termreport
