// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of one exam as the 统计 tab and the PDF report show them:
// the parts, the figures as text, and the tab's page.
#include "stats/examstatistics.h"
#include "stats/gradewideexam.h"

#include <QStringList>

// The whole exam's statistics, knowing whether it had a class list.
ExamStatistics wholeExamStatistics(const ArchivedExam &exam);
// The whole exam first, then each department.
QVector<ExamStatistics> statisticsParts(const ArchivedExam &exam);
// The count, then mean, median, highest, lowest and deviation to two places.
QStringList figureTexts(const Figures &figures);
// The parts under their names.
QVector<NamedStatistics> named(const QVector<ExamStatistics> &parts);
// Who sat of those listed (when the first part had a class list), then
// every part's figures, grades and pass rate, as HTML tables.
QString partsTables(const QVector<NamedStatistics> &parts);
// The scale's grades and their thresholds, as an HTML paragraph.
QString scaleLine(const GradingScale &scale);
// How the exam is named above its page and in questions about it: the one
// under way (id 0) by its article, a kept one by when, article and how
// many logged in.
QString examTitle(const ArchivedExam &exam);
// The 统计 tab's page under `title`: every part's figures, grades and pass
// rate, then the exam's scale.
QString statisticsPage(const ArchivedExam &exam, const QString &title);
// The 年级汇总 window's page: the grade's line, the whole grade and each
// class, each lab, then the scale the grade is graded with.
QString gradeStatisticsPage(const GradeWideExam &exam);
