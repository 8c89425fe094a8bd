// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 图表 tab of 历次考试: an exam's speed histogram and its accuracy
// against speed, side by side, each saved as a picture of its own.
#include "archive/archivedexam.h"

#include <QCoreApplication>
#include <QWidget>

class QChartView;

class ExamChartsPane : public QWidget
{
    Q_DECLARE_TR_FUNCTIONS(ExamChartsPane)
public:
    explicit ExamChartsPane(QWidget *parent);

    // Empty charts without an exam.
    void showExam(const ArchivedExam *exam);
    // The pictures saving as `chosen` writes: the histogram's, the scatter's.
    static QStringList picturePaths(const QString &chosen);
    // Saves both charts; the problem or empty.
    QString saveAs(const QString &chosen) const;

    QChartView *histogram() const { return m_histogram; }
    QChartView *scatter() const { return m_scatter; }

private:
    QChartView *m_histogram = nullptr;
    QChartView *m_scatter = nullptr;
};
