// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class report of one exam as PDF: title, statistics, the speed
// histogram and the ranking with grades, on A4 with the Chinese font
// embedded; every page carries the exam's title line, the heading row of
// the table it continues and its page number. Written whole or not at all.
#include "archive/archivedexam.h"

#include <QImage>

namespace examreport {

// The report's charts, drawn on the GUI thread, where charts can be.
struct Charts
{
    QImage speedHistogram;
};
Charts drawCharts(const ArchivedExam &exam);

// "考试报告-20260302-第1课.pdf": the name offered for the exam's report.
QString defaultFileName(const ArchivedExam &exam);

// Writes the report with its charts drawn before, on any thread; the
// problem naming the file, or empty.
QString writePdf(const ArchivedExam &exam, const Charts &charts, const QString &path);

}  // namespace examreport
