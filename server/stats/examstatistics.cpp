// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/examstatistics.h"

#include <QtMath>

#include <algorithm>

namespace {

QVector<ArchivedRow> started(const QVector<ArchivedRow> &rows)
{
    QVector<ArchivedRow> kept;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
                 [](const ArchivedRow &row) { return row.sat(); });
    return kept;
}

}  // namespace

Figures figuresOf(QVector<double> values)
{
    Figures figures;
    figures.count = int(values.size());
    if (values.isEmpty())
        return figures;
    std::sort(values.begin(), values.end());
    const int n = figures.count;
    double sum = 0;
    for (double value : values)
        sum += value;
    figures.mean = sum / n;
    figures.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    figures.lowest = values.first();
    figures.highest = values.last();
    double squares = 0;
    for (double value : values)
        squares += (value - figures.mean) * (value - figures.mean);
    figures.deviation = qSqrt(squares / n);
    return figures;
}

ExamStatistics statisticsOf(const QVector<ArchivedRow> &rows, const GradingScale &scale)
{
    const QVector<ArchivedRow> graded = started(rows);
    ExamStatistics statistics;
    statistics.expected = int(rows.size());
    QVector<double> speeds;
    QVector<double> accuracies;
    QVector<int> counts(scale.grades().size() + 1, 0);  // the last: without a grade
    int passed = 0;
    for (const ArchivedRow &row : graded) {
        speeds.append(row.speed);
        accuracies.append(row.accuracy());
        const std::optional<int> grade = scale.gradeOf(row);
        ++counts[grade ? *grade : int(counts.size()) - 1];
        if (scale.passes(grade))
            ++passed;
    }
    statistics.speed = figuresOf(speeds);
    statistics.accuracy = figuresOf(accuracies);
    const int total = int(graded.size());
    for (int i = 0; i < counts.size(); ++i) {
        const bool ungraded = i == counts.size() - 1;
        if (ungraded && counts[i] == 0)
            continue;
        statistics.grades.append({ ungraded ? QStringLiteral("未评") : scale.grades()[i].name,
                                   counts[i], total ? double(counts[i]) / total : 0 });
    }
    statistics.passRate = total ? double(passed) / total : 0;
    return statistics;
}

QVector<ExamStatistics> statisticsByDepartment(const QVector<ArchivedRow> &rows,
                                               const GradingScale &scale)
{
    QStringList departments;
    for (const ArchivedRow &row : rows) {
        if (row.sat() && !departments.contains(row.department))
            departments.append(row.department);
    }
    QVector<ExamStatistics> result;
    if (departments.size() < 2)
        return result;
    for (const QString &department : departments) {
        QVector<ArchivedRow> own;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(own),
                     [&](const ArchivedRow &row) { return row.department == department; });
        result.append(statisticsOf(own, scale));
        result.last().department = department;
    }
    return result;
}

QVector<int> speedHistogram(const QVector<ArchivedRow> &rows, double width)
{
    QVector<int> bins;
    if (width <= 0)
        return bins;
    for (const ArchivedRow &row : started(rows)) {
        const int bin = int(std::max(0.0, row.speed) / width);
        if (bin >= bins.size())
            bins.resize(bin + 1, 0);
        ++bins[bin];
    }
    return bins;
}

QString ExamStatistics::partName() const
{
    return department.isEmpty() ? QStringLiteral("全体") : department;
}

QString ExamStatistics::attendance() const
{
    if (!listed)
        return QStringLiteral("实考 %1人").arg(sat());
    return QStringLiteral("应考 %1人，实考 %2人，缺考 %3人").arg(expected).arg(sat()).arg(absent());
}

QString ExamStatistics::gradeShares(const QString &separator) const
{
    QStringList shares;
    for (const GradeCount &grade : grades)
        shares << QStringLiteral("%1 %2人（%3%）")
                          .arg(grade.grade)
                          .arg(grade.count)
                          .arg(grade.share * 100, 0, 'f', 1);
    return shares.join(separator);
}
