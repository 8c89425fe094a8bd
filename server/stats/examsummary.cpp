// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/examsummary.h"

#include "stats/examstatistics.h"

#include <algorithm>

ExamSummary summaryOf(const ArchivedExam &exam)
{
    ExamSummary summary;
    summary.id = exam.id;
    summary.when = exam.sitting.heldAt();
    summary.articleName = exam.sitting.articleName;
    summary.examMinutes = exam.sitting.examMinutes;
    summary.lab = exam.sitting.lab;
    summary.labRole = exam.sitting.labRole;
    summary.teacher = exam.sitting.teacher;
    // Those who sat: the absent and those who never started have no speed.
    const ExamStatistics statistics =
            statisticsOf(exam.rows, exam.sitting.scale, exam.sitting.roster);
    summary.examinees = statistics.people.sat;
    summary.meanSpeed = statistics.speed.mean;
    summary.passRate = statistics.passRate;
    for (const ArchivedRow &row : exam.rows) {
        if (!summary.departments.contains(row.department))
            summary.departments.append(row.department);
    }
    return summary;
}

bool underWay(const ArchivedExam &current)
{
    return current.sitting.openedAt.isValid() || !current.sitting.publication.isEmpty()
            || std::any_of(current.rows.begin(), current.rows.end(),
                           [](const ArchivedRow &row) { return !row.absent(); });
}

ArchiveRead<QVector<ExamSummary>> summariesOf(const ArchiveRead<QVector<ArchivedExam>> &exams)
{
    if (!exams.value)
        return { std::nullopt, exams.problem };
    QVector<ExamSummary> summaries;
    summaries.reserve(exams.value->size());
    for (const ArchivedExam &exam : *exams.value)
        summaries.append(summaryOf(exam));
    return { summaries, {} };
}

ArchiveRead<QVector<HistoryPoint>> historyOf(const ArchiveRead<QVector<ArchivedExam>> &sat)
{
    if (!sat.value)
        return { std::nullopt, sat.problem };
    QVector<HistoryPoint> points;
    for (const ArchivedExam &exam : *sat.value) {
        const GradingScale &scale = exam.sitting.scale;
        for (const ArchivedRow &row : exam.rows) {
            // An exam missed is no point of the trend.
            if (row.absent())
                continue;
            HistoryPoint point;
            point.examId = exam.id;
            point.when = exam.sitting.heldAt();
            point.articleName = exam.sitting.articleName;
            point.speed = row.speed;
            point.accuracy = row.accuracy();
            point.grade = scale.nameOf(scale.gradeOf(row));
            points.append(point);
        }
    }
    return { points, {} };
}
