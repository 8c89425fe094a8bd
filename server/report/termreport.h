// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The term report: one workbook over the chosen exams, oldest first. A
// summary sheet (one row per examinee: speed and grade in each exam, then
// best, mean and trend), a sheet of the class's figures per exam with
// native charts of the mean speed and the grade shares, and one sheet per
// exam with its ranking. Numbers are numbers.
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
};

Outcome write(const QVector<ArchivedExam> &exams, const QString &path, const Progress &progress);

}  // namespace termreport
