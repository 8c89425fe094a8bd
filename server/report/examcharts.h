// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The charts of the 历次考试 window and the reports, with Chinese labels
// in type large enough for a projector.
#include "archive/archivedexam.h"
#include "stats/examsummary.h"

#include <QChart>

namespace examcharts {

// Speeds are counted in bins this wide (字/分钟).
constexpr double kBinWidth = 10;

// The distribution of speed, the grades' minimum speeds marked as lines,
// the speed axis ticked at the bins' edges.
QChart *speedHistogram(const QVector<ArchivedRow> &rows, const GradingScale &scale);
// Accuracy against speed, one colour per grade.
QChart *accuracyAgainstSpeed(const QVector<ArchivedRow> &rows, const GradingScale &scale);
// An examinee's speed and accuracy over time.
QChart *examineeTrend(const QVector<HistoryPoint> &points, const QString &who);

}  // namespace examcharts
