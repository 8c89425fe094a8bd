// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/gradewideexam.h"

#include "archive/gradeexam.h"
#include "stats/rankingmodel.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace {

// Names in a reader's order: a run of digits compares as a number, so
// 高一(2)班 comes before 高一(10)班 whatever the system's locale.
bool namedBefore(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const int startA = i;
            const int startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const qulonglong x = QStringView(a).mid(startA, i - startA).toULongLong();
            const qulonglong y = QStringView(b).mid(startB, j - startB).toULongLong();
            if (x != y)
                return x < y;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

// The rows under one name, in the exams' order.
struct Selected
{
    QVector<ArchivedRow> rows;
    QString roster;  // the class lists of the exams they come from
    bool listed = true;  // every exam they come from had a class list
};

// The figures of each name `nameOf` gives a row, in name order.
QVector<NamedStatistics>
partsBy(const QVector<ArchivedExam> &exams, const GradingScale &scale,
        const std::function<QString(const ArchivedExam &, const ArchivedRow &)> &nameOf)
{
    QHash<QString, Selected> byName;
    for (const ArchivedExam &exam : exams) {
        QSet<QString> named;
        for (const ArchivedRow &row : exam.rows) {
            const QString name = nameOf(exam, row);
            byName[name].rows.append(row);
            named.insert(name);
        }
        for (const QString &name : named) {
            byName[name].listed = byName[name].listed && !exam.sitting.roster.isEmpty();
            byName[name].roster += exam.sitting.roster;
        }
    }
    QStringList names = byName.keys();
    std::sort(names.begin(), names.end(), namedBefore);
    QVector<NamedStatistics> parts;
    for (const QString &name : names) {
        const Selected &selected = byName[name];
        parts.append({ name,
                       statisticsOf(selected.rows, scale,
                                    selected.listed ? selected.roster : QString()) });
    }
    return parts;
}

}  // namespace

GradeWideExam::GradeWideExam(QVector<ArchivedExam> exams) : m_exams(std::move(exams))
{
    const auto firstHeld = std::min_element(m_exams.begin(), m_exams.end(),
                                            [](const ArchivedExam &a, const ArchivedExam &b) {
                                                return a.sitting.heldAt() < b.sitting.heldAt();
                                            });
    if (firstHeld != m_exams.end())
        m_asOneExam.sitting = firstHeld->sitting;
    const GradingScale &scale = m_asOneExam.sitting.scale;

    bool listed = !m_exams.isEmpty();
    QString rosters;
    for (const ArchivedExam &exam : m_exams) {
        listed = listed && !exam.sitting.roster.isEmpty();
        rosters += exam.sitting.roster;
        for (const ArchivedRow &row : exam.rows)
            m_ranking.append({ row, exam.sitting.lab, std::nullopt });
    }
    // By speed as each exam ranks its rows, absentees after everyone; equal
    // speeds keep the labs' order.
    std::stable_sort(m_ranking.begin(), m_ranking.end(),
                     [](const GradeRankedRow &a, const GradeRankedRow &b) {
                         if (a.row.absent() != b.row.absent())
                             return b.row.absent();
                         return a.row.speed > b.row.speed;
                     });
    for (const GradeRankedRow &ranked : m_ranking)
        m_asOneExam.rows.append(ranked.row);
    const QVector<std::optional<int>> places = placesOf(m_asOneExam.rows);
    for (int i = 0; i < m_ranking.size(); ++i)
        m_ranking[i].place = places[i];

    m_whole = statisticsOf(m_asOneExam.rows, scale, listed ? rosters : QString());
    m_classes = partsBy(m_exams, scale, [](const ArchivedExam &, const ArchivedRow &row) {
        return row.department;
    });
    m_labs = partsBy(m_exams, scale, [](const ArchivedExam &exam, const ArchivedRow &) {
        return exam.sitting.lab;
    });
}

QString GradeWideExam::titleLine() const
{
    const QDateTime held = sitting().heldAt().toLocalTime();
    const bool morning = gradeexam::halfDayOf(held).from.time() == QTime(0, 0);
    return tr("文章《%1》　%2 %3　考试时间 %4分钟　%5个机房　%6个班　%7")
            .arg(sitting().articleName, held.toString(QStringLiteral("yyyy-MM-dd")),
                 morning ? tr("上午") : tr("下午"))
            .arg(sitting().examMinutes)
            .arg(m_labs.size())
            .arg(m_classes.size())
            .arg(m_whole.attendance());
}
