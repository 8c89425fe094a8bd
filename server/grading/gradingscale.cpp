// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "grading/gradingscale.h"

#include "exchange/numbers.h"
#include "settings/consolepreferences.h"

#include <QCoreApplication>
#include <QDir>

namespace {

constexpr double kMaxAccuracy = 100;
constexpr double kMaxSpeed = 10000;
constexpr double kMaxScore = 1000;

QString rowName(int row)
{
    return QCoreApplication::translate("GradingScale", "第%1行").arg(row + 1);
}

}  // namespace

GradingScale GradingScale::standard()
{
    GradingScale scale;
    scale.m_grades = { { tr("优秀"), 60, 95, 95 },
                       { tr("良好"), 45, 90, 85 },
                       { tr("及格"), 30, 80, 70 },
                       { tr("不及格"), 0, 0, 50 } };
    return scale;
}

QString GradingScale::problemOf(const QVector<Grade> &grades)
{
    if (grades.isEmpty())
        return tr("评分标准至少要有一个等级。");
    if (grades.size() > kMaxGrades)
        return tr("评分标准最多%1个等级。").arg(kMaxGrades);
    for (int i = 0; i < grades.size(); ++i) {
        const Grade &grade = grades[i];
        if (grade.name.isEmpty())
            return rowName(i) + tr("：等级名称不能为空。");
        for (int j = 0; j < i; ++j) {
            if (grades[j].name == grade.name)
                return rowName(i) + tr("：等级“%1”重复。").arg(grade.name);
        }
        if (grade.minSpeed < 0 || grade.minAccuracy < 0 || grade.score < 0)
            return rowName(i) + tr("：速度、正确率和得分不能是负数。");
        if (grade.minAccuracy > kMaxAccuracy)
            return rowName(i) + tr("：最低正确率不能超过100%。");
        if (grade.minSpeed > kMaxSpeed || grade.score > kMaxScore)
            return rowName(i) + tr("：数值太大。");
        if (i == 0)
            continue;
        // A grade asks no less than the one below it, or that one is never reached.
        const Grade &above = grades[i - 1];
        if (above.minSpeed < grade.minSpeed || above.minAccuracy < grade.minAccuracy)
            return rowName(i)
                    + tr("：等级“%1”的要求高于它上面的等级“%2”，"
                         "请按从高到低排列。")
                              .arg(grade.name, above.name);
        if (above.minSpeed == grade.minSpeed && above.minAccuracy == grade.minAccuracy)
            return rowName(i)
                    + tr("：等级“%1”与上面的等级“%2”要求相同，"
                         "永远评不到。")
                              .arg(grade.name, above.name);
        if (above.score < grade.score)
            return rowName(i)
                    + tr("：等级“%1”的得分高于上面的等级“%2”。").arg(grade.name, above.name);
    }
    return {};
}

GradingScale::Reading GradingScale::fromTable(const QVector<QStringList> &table)
{
    static const QStringList fieldNames { QString(), tr("最低速度"), tr("最低正确率"), tr("得分") };
    QVector<Grade> grades;
    for (int i = 0; i < table.size(); ++i) {
        const QStringList &cells = table[i];
        Grade grade;
        grade.name = cells.value(0).trimmed();
        double *fields[] = { nullptr, &grade.minSpeed, &grade.minAccuracy, &grade.score };
        for (int f = 1; f < 4; ++f) {
            const std::optional<double> value = numbers::parseNumber(cells.value(f));
            if (!value)
                return {
                    std::nullopt,
                    rowName(i)
                            + tr("：%1“%2”不是数字。").arg(fieldNames[f], cells.value(f).trimmed())
                };
            *fields[f] = *value;
        }
        grades.append(grade);
    }
    if (const QString problem = problemOf(grades); !problem.isEmpty())
        return { std::nullopt, problem };
    GradingScale scale;
    scale.m_grades = grades;
    return { scale, {} };
}

GradingScale::Reading GradingScale::fromText(const QString &text)
{
    QVector<QStringList> table;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.trimmed().isEmpty())
            table.append(line.split(u'\t'));
    }
    return fromTable(table);
}

QVector<QStringList> GradingScale::table() const
{
    QVector<QStringList> table;
    for (const Grade &grade : m_grades)
        table.append({ grade.name, QString::number(grade.minSpeed),
                       QString::number(grade.minAccuracy), QString::number(grade.score) });
    return table;
}

QString GradingScale::toText() const
{
    QString text;
    for (const QStringList &row : table())
        text += row.join(u'\t') + u'\n';
    return text;
}

GradingScale::Reading GradingScale::load(const QString &applicationFolder)
{
    const ConsolePreferences preferences(applicationFolder);
    if (QString problem = preferences.gradingProblem(); !problem.isEmpty())
        return { std::nullopt, problem };
    const std::optional<QVector<QStringList>> rows = preferences.gradeRows();
    if (!rows)
        return { standard(), {} };
    Reading reading = fromTable(*rows);
    if (!reading.scale)
        reading.problem =
                tr("设置文件 %1 中的评分标准有误：%2")
                        .arg(QDir::toNativeSeparators(preferences.path()), reading.problem);
    return reading;
}

QString GradingScale::save(const QString &applicationFolder) const
{
    return ConsolePreferences(applicationFolder).setGradeRows(table());
}

std::optional<int> GradingScale::gradeOf(double speed, double accuracy) const
{
    for (int i = 0; i < m_grades.size(); ++i) {
        if (speed >= m_grades[i].minSpeed && accuracy >= m_grades[i].minAccuracy)
            return i;
    }
    return std::nullopt;
}

std::optional<int> GradingScale::gradeOf(const ResultCore &result) const
{
    if (result.timePass <= 0)
        return std::nullopt;
    return gradeOf(result.speed, result.accuracy());
}

bool GradingScale::passes(std::optional<int> grade) const
{
    return grade && *grade < m_grades.size() - 1;
}

QString GradingScale::nameOf(std::optional<int> grade) const
{
    return grade ? m_grades.value(*grade).name : QString();
}

std::optional<double> GradingScale::scoreOf(std::optional<int> grade) const
{
    if (!grade || *grade >= m_grades.size())
        return std::nullopt;
    return m_grades[*grade].score;
}
