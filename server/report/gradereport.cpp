// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/gradereport.h"

#include "export/documentname.h"
#include "report/examcharts.h"
#include "report/reportpages.h"
#include "stats/graderankingmodel.h"

#include <QPainter>
#include <QPdfWriter>
#include <QCoreApplication>

namespace gradereport {

namespace {

using reportpages::reportFont;

QString title()
{
    return QCoreApplication::translate("gradereport", "年级打字考试成绩报告");
}

// Draws the report; the number of pages, or 0 when the painter failed.
int draw(QPdfWriter &writer, const GradeWideExam &exam, int pages)
{
    const QString line = exam.titleLine();
    QPainter painter(&writer);
    reportpages::PageWriter page(
            writer, painter,
            { title() + QCoreApplication::translate("gradereport", "　") + line, pages });
    page.paragraph(title(), reportFont(reportpages::kTitlePoints, true));
    page.paragraph(line, reportFont(reportpages::kTextPoints));
    page.gap();

    const QFont subheading = reportFont(reportpages::kTextPoints, true);
    page.paragraph(QCoreApplication::translate("gradereport", "全年级与各班"), subheading);
    reportpages::statistics(
            page,
            QVector<NamedStatistics> {
                    { QCoreApplication::translate("gradereport", "全年级"), exam.whole() } }
                    + exam.classes());
    page.gap();
    page.paragraph(QCoreApplication::translate("gradereport", "各机房"), subheading);
    reportpages::statistics(page, exam.labs());
    page.gap();
    page.chart(examcharts::speedHistogram(exam.asOneExam().rows, exam.scale()));
    page.gap();

    // The ranking's columns up to the state, without 用时, 得分 and 存疑.
    const QVector<int> columns {
        RankingModel::Place,
        GradeRankingModel::kLabColumn,
        GradeRankingModel::columnOf(RankingModel::Department),
        GradeRankingModel::columnOf(RankingModel::ExamNumber),
        GradeRankingModel::columnOf(RankingModel::Name),
        GradeRankingModel::columnOf(RankingModel::Speed),
        GradeRankingModel::columnOf(RankingModel::Accuracy),
        GradeRankingModel::columnOf(RankingModel::Grade),
        GradeRankingModel::columnOf(RankingModel::State),
    };
    GradeRankingModel ranking;
    ranking.setExam(&exam);
    reportpages::modelTable(page, ranking, columns,
                            { 0.07, 0.13, 0.16, 0.13, 0.11, 0.11, 0.11, 0.08, 0.1 });
    const int drawn = page.finish();
    return painter.end() ? drawn : 0;
}

}  // namespace

QString defaultFileName(const GradeWideExam &exam)
{
    return documentname::forExam(QCoreApplication::translate("gradereport", "年级考试报告"),
                                 exam.sitting().heldAt(), exam.sitting().articleName)
            + QStringLiteral(".pdf");
}

QString writePdf(const GradeWideExam &exam, const QString &path)
{
    return reportpages::writePdf(path, title(), [&exam](QPdfWriter &writer, int pages) {
        return draw(writer, exam, pages);
    });
}

}  // namespace gradereport
