// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/statisticspage.h"

#include <algorithm>
#include <QCoreApplication>

namespace {

QString figureCells(const Figures &figures)
{
    QString cells;
    for (const QString &text : figureTexts(figures))
        cells += QStringLiteral("<td align=right>%1</td>").arg(text);
    return cells;
}

QString statisticsTable(const QVector<NamedStatistics> &parts)
{
    QString html = QCoreApplication::translate(
            "Statisticspage",
            "<table border=1 cellspacing=0 cellpadding=4><tr><th>部门</th><th></th><th>人数</th>"
            "<th>平均</th><th>中位数</th><th>最高</th><th>最低</th><th>标准差</th>"
            "<th>等级分布</th><th>及格率</th></tr>");
    for (const auto &[who, part] : parts) {
        const QString name = who.toHtmlEscaped();
        html += QCoreApplication::translate(
                        "Statisticspage",
                        "<tr><td rowspan=2>%1</td><td>速度</td>%2"
                        "<td rowspan=2>%3</td><td rowspan=2 align=right>%4%</td></tr>"
                        "<tr><td>正确率</td>%5</tr>")
                        .arg(name, figureCells(part.speed),
                             part.gradeShares(QStringLiteral("<br>")),
                             QString::number(part.passRate * 100, 'f', 1),
                             figureCells(part.accuracy));
    }
    return html + QStringLiteral("</table>");
}

// Who sat of those listed, each part in a row; nothing without a class list.
QString attendanceTable(const QVector<NamedStatistics> &parts)
{
    if (parts.isEmpty() || !parts.first().statistics.listed)
        return {};
    QString html = QCoreApplication::translate(
            "Statisticspage",
            "<table border=1 cellspacing=0 cellpadding=4><tr><th>部门</th>"
            "<th>应考</th><th>实考</th><th>未开始</th><th>缺考</th></tr>");
    for (const auto &[who, part] : parts)
        html += QStringLiteral("<tr><td>%1</td><td align=right>%2</td><td align=right>%3</td>"
                               "<td align=right>%4</td><td align=right>%5</td></tr>")
                        .arg(who.toHtmlEscaped())
                        .arg(part.people.expected())
                        .arg(part.people.sat)
                        .arg(part.people.notStarted)
                        .arg(part.people.absent);
    return html + QStringLiteral("</table><br>");
}

}  // namespace

ExamStatistics wholeExamStatistics(const ArchivedExam &exam)
{
    return statisticsOf(exam.rows, exam.sitting.scale, exam.sitting.roster);
}

QVector<ExamStatistics> statisticsParts(const ArchivedExam &exam)
{
    QVector<ExamStatistics> parts { wholeExamStatistics(exam) };
    parts += statisticsByDepartment(exam.rows, exam.sitting.scale, exam.sitting.roster);
    return parts;
}

QStringList figureTexts(const Figures &figures)
{
    const auto number = [](double value) { return QString::number(value, 'f', 2); };
    return { QString::number(figures.count), number(figures.mean),   number(figures.median),
             number(figures.highest),        number(figures.lowest), number(figures.deviation) };
}

QVector<NamedStatistics> named(const QVector<ExamStatistics> &parts)
{
    QVector<NamedStatistics> named;
    for (const ExamStatistics &part : parts)
        named.append({ part.partName(), part });
    return named;
}

QString partsTables(const QVector<NamedStatistics> &parts)
{
    return attendanceTable(parts) + statisticsTable(parts);
}

QString scaleLine(const GradingScale &scale)
{
    QStringList grades;
    for (const Grade &grade : scale.grades())
        grades << QCoreApplication::translate("Statisticspage", "%1：速度≥%2，正确率≥%3%，%4分")
                          .arg(grade.name)
                          .arg(grade.minSpeed)
                          .arg(grade.minAccuracy)
                          .arg(grade.score);
    return QCoreApplication::translate("Statisticspage", "<p>评分标准：%1</p>")
            .arg(grades.join(QCoreApplication::translate("Statisticspage", "；")).toHtmlEscaped());
}

QString examTitle(const ArchivedExam &exam)
{
    if (exam.id == 0)
        return QCoreApplication::translate("Statisticspage", "当前考试《%1》")
                .arg(exam.sitting.articleName);
    // Those who logged in; the absentees are counted on the page.
    const auto present = std::count_if(exam.rows.begin(), exam.rows.end(),
                                       [](const ArchivedRow &row) { return !row.absent(); });
    // One substitution, so an article named with a % sign keeps its name.
    return QCoreApplication::translate("Statisticspage", "%1 的考试《%2》（%3人）")
            .arg(exam.sitting.heldAt().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 exam.sitting.articleName, QString::number(present));
}

QString statisticsPage(const ArchivedExam &exam, const QString &title)
{
    return QStringLiteral("<h2>%1</h2>").arg(title.toHtmlEscaped())
            + partsTables(named(statisticsParts(exam))) + scaleLine(exam.sitting.scale);
}

QString gradeStatisticsPage(const GradeWideExam &exam)
{
    return QCoreApplication::translate("Statisticspage", "<p>%1</p><h3>全年级与各班</h3>")
                   .arg(exam.titleLine().toHtmlEscaped())
            + partsTables(QVector<NamedStatistics> {
                                  { QCoreApplication::translate("Statisticspage", "全年级"),
                                    exam.whole() } }
                          + exam.classes())
            + QCoreApplication::translate("Statisticspage", "<h3>各机房</h3>")
            + partsTables(exam.labs()) + scaleLine(exam.scale());
}
