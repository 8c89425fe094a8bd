// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of one exam as the 统计 tab and the PDF report show them:
// the parts, the figures as text, and the tab's page.
#include "stats/examstatistics.h"

#include <QStringList>

// The whole exam's statistics, knowing whether it had a class list.
ExamStatistics wholeExamStatistics(const ArchivedExam &exam);
// The whole exam first, then each department.
QVector<ExamStatistics> statisticsParts(const ArchivedExam &exam);
// The count, then mean, median, highest, lowest and deviation to two places.
QStringList figureTexts(const Figures &figures);
// The 统计 tab's page under `title`: every part's figures, grades and pass
// rate, then the exam's scale.
QString statisticsPage(const ArchivedExam &exam, const QString &title);
