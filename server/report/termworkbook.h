// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grade's term workbook: chosen classes, whichever lab or teacher kept
// their exams. A 年级汇总 sheet first, a row of figures per class side by
// side (exams, attendance, speeds, accuracy, pass rate, a count per grade)
// with native charts of the mean speed and the grade shares; then a sheet
// per class, one row per examinee with speed and grade in each of the
// class's exams of the term, then best, mean and trend.
#include "archive/schoolterm.h"
#include "report/termreport.h"
#include "stats/examstatistics.h"

namespace termworkbook {

QString summarySheetName();

// "年级学期报告-2025-2026学年第二学期.xlsx".
QString defaultFileName(const SchoolTerm &term);

// Writes `classes` (in their order) to `path`; `progress` is told after
// each class's sheet and cancels the workbook by answering false.
termreport::Outcome write(const SchoolTerm &term, const QVector<ClassTerm> &classes,
                          const QString &path, const termreport::Progress &progress);

}  // namespace termworkbook
