// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures of one exam: count, mean, median, highest, lowest and
// standard deviation of speed and accuracy; the number and share in each
// grade; the same per department; the speed histogram.
#include "archive/archivedexam.h"
#include "collect/attendance.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// One series of figures. The deviation is the class's own (divided by
// the count, not count - 1): the class is all there is, not a sample.
struct Figures
{
    int count = 0;
    double mean = 0;
    double median = 0;  // of an even count, the mean of the middle two
    double highest = 0;
    double lowest = 0;
    double deviation = 0;
};

Figures figuresOf(QVector<double> values);

struct GradeCount
{
    QString grade;  // "未评" for the results without one
    int count = 0;
    double share = 0;  // 0 to 1 of the graded rows' exam
};

struct ExamStatistics
{
    Q_DECLARE_TR_FUNCTIONS(ExamStatistics)

public:
    QString department;  // empty for the whole exam
    // Who came of those expected, each person once; the figures are of the
    // rows of those who sat.
    Attendance people;
    // The exam had a class list, so who should have sat is known.
    bool listed = false;
    Figures speed;
    Figures accuracy;
    QVector<GradeCount> grades;  // in the scale's order, then those without
    double passRate = 0;  // 0 to 1

    // The department, or 全体 for the whole exam.
    QString partName() const;
    QString attendance() const { return people.line(listed); }
    // Each grade's count and share, as "优秀 3人（7.5%）", joined by `separator`.
    QString gradeShares(const QString &separator) const;
};

// The figures of one part under its name: a class, a lab, the whole grade.
struct NamedStatistics
{
    QString name;
    ExamStatistics statistics;
};

// The statistics of the rows graded by the scale. Rows not sat (absent,
// or never started) count only in the attendance; with the exam's class
// list (ExamSitting::roster) it counts its people only, and is listed.
ExamStatistics statisticsOf(const QVector<ArchivedRow> &rows, const GradingScale &scale,
                            const QString &roster = {});
// A class over a term: its exams, oldest first, each with the class's rows only.
struct ClassTerm
{
    QString name;
    QVector<ArchivedExam> exams;
};

// The class's figures over its term: every row of its exams, each graded
// by its own exam's scale (grades in the order of the first exam's scale,
// then any other's); listed when every exam had a class list.
ExamStatistics statisticsOf(const ClassTerm &term);
// The same for each department, in the order they first appear; empty
// when the exam has one department or none.
QVector<ExamStatistics> statisticsByDepartment(const QVector<ArchivedRow> &rows,
                                               const GradingScale &scale,
                                               const QString &roster = {});

// The speed histogram: bins of `width` from 0, bin i holding speeds in
// [i * width, (i + 1) * width); as many as the fastest needs.
QVector<int> speedHistogram(const QVector<ArchivedRow> &rows, double width);
