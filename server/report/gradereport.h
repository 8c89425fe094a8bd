// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report of a grade-wide exam as PDF: the grade's title line, the
// figures of the whole grade, of each class and of each lab, the speed
// histogram and the ranking across the grade, laid out as an exam's report.
#include "stats/gradewideexam.h"

namespace gradereport {

// "年级考试报告-20260302-第1课.pdf": the name offered for the grade's report.
QString defaultFileName(const GradeWideExam &exam);

// The problem naming the file, or empty.
QString writePdf(const GradeWideExam &exam, const QString &path);

}  // namespace gradereport
