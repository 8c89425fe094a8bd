// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/examstatistics.h"

#include "exchange/identity.h"

#include <QtMath>

#include <algorithm>
#include <QCoreApplication>

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

namespace {

// Rows, the scale that grades them and their exam's class list.
struct GradedRows
{
    const QVector<ArchivedRow> &rows;
    const GradingScale &scale;
    const QString &roster;
};

// The people of a class list kept as "部门\t考号\t姓名" lines; none without one.
std::optional<QSet<QString>> listedPeople(const QString &roster)
{
    if (roster.isEmpty())
        return std::nullopt;
    QSet<QString> people;
    for (const QString &line : roster.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() == 3)
            people.insert(identity::personKey(fields[0], fields[1], fields[2]));
    }
    return people;
}

// The one rule for every part's figures: rows taken together, each graded
// by its own scale; grades in the scales' order, then those without.
ExamStatistics statisticsOfParts(const QVector<GradedRows> &parts)
{
    ExamStatistics statistics;
    QVector<double> speeds;
    QVector<double> accuracies;
    QStringList names;
    for (const GradedRows &part : parts) {
        for (const Grade &grade : part.scale.grades()) {
            if (!names.contains(grade.name))
                names.append(grade.name);
        }
    }
    QVector<int> counts(names.size() + 1, 0);  // the last: without a grade
    int passed = 0;
    for (const GradedRows &part : parts) {
        AttendanceTally tally(listedPeople(part.roster));
        for (const ArchivedRow &row : part.rows)
            tally.add(identity::personKey(row.department, row.examNumber, row.name),
                      presenceOf(row.state));
        statistics.people += tally.counts();
        for (const ArchivedRow &row : part.rows) {
            if (!row.sat())
                continue;
            speeds.append(row.speed);
            accuracies.append(row.accuracy());
            const std::optional<int> grade = part.scale.gradeOf(row);
            ++counts[grade ? int(names.indexOf(part.scale.grades()[*grade].name))
                           : int(counts.size()) - 1];
            if (part.scale.passes(grade))
                ++passed;
        }
    }
    statistics.speed = figuresOf(speeds);
    statistics.accuracy = figuresOf(accuracies);
    const int total = statistics.speed.count;
    for (int i = 0; i < counts.size(); ++i) {
        const bool ungraded = i == counts.size() - 1;
        if (ungraded && counts[i] == 0)
            continue;
        statistics.grades.append(
                { ungraded ? QCoreApplication::translate("ExamStatistics", "未评") : names[i],
                  counts[i], total ? double(counts[i]) / total : 0 });
    }
    statistics.passRate = total ? double(passed) / total : 0;
    return statistics;
}

}  // namespace

ExamStatistics statisticsOf(const QVector<ArchivedRow> &rows, const GradingScale &scale,
                            const QString &roster)
{
    ExamStatistics statistics = statisticsOfParts({ { rows, scale, roster } });
    statistics.listed = !roster.isEmpty();
    return statistics;
}

ExamStatistics statisticsOf(const ClassTerm &term)
{
    QVector<GradedRows> parts;
    bool listed = !term.exams.isEmpty();
    for (const ArchivedExam &exam : term.exams) {
        parts.append({ exam.rows, exam.sitting.scale, exam.sitting.roster });
        listed = listed && !exam.sitting.roster.isEmpty();
    }
    ExamStatistics statistics = statisticsOfParts(parts);
    statistics.department = term.name;
    statistics.listed = listed;
    return statistics;
}

QVector<ExamStatistics> statisticsByDepartment(const QVector<ArchivedRow> &rows,
                                               const GradingScale &scale, const QString &roster)
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
        result.append(statisticsOf(own, scale, roster));
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
    return department.isEmpty() ? tr("全体") : department;
}

QString ExamStatistics::gradeShares(const QString &separator) const
{
    QStringList shares;
    for (const GradeCount &grade : grades)
        shares << tr("%1 %2人（%3%）")
                          .arg(grade.grade)
                          .arg(grade.count)
                          .arg(grade.share * 100, 0, 'f', 1);
    return shares.join(separator);
}
