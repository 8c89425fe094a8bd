// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/examreport.h"

#include "export/documentname.h"
#include "report/examcharts.h"
#include "report/reportpages.h"
#include "stats/rankingmodel.h"
#include "stats/statisticspage.h"

#include <QPainter>
#include <QPdfWriter>
#include <QCoreApplication>

namespace examreport {

namespace {

using reportpages::kTextPoints;
using reportpages::kTitlePoints;
using reportpages::PageWriter;
using reportpages::reportFont;

QString examLine(const ArchivedExam &exam, const ExamStatistics &whole)
{
    return QCoreApplication::translate("examreport", "文章《%1》　考试日期 %2　考试时间 %3分钟　%4")
            .arg(exam.sitting.articleName,
                 exam.sitting.heldAt().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
            .arg(exam.sitting.examMinutes)
            .arg(whole.attendance());
}

// Draws the report; the number of pages, or 0 when the painter failed.
int draw(QPdfWriter &writer, const ArchivedExam &exam, const Charts &charts, int pages)
{
    const QVector<ExamStatistics> parts = statisticsParts(exam);
    const QString line = examLine(exam, parts.first());
    QPainter painter(&writer);
    PageWriter page(
            writer, painter,
            { QCoreApplication::translate("examreport", "打字考试成绩报告　") + line, pages });

    page.paragraph(QCoreApplication::translate("examreport", "打字考试成绩报告"),
                   reportFont(kTitlePoints, true));
    page.paragraph(line, reportFont(kTextPoints));
    page.gap();

    reportpages::statistics(page, named(parts));
    page.gap();
    page.picture(charts.speedHistogram);
    page.gap();

    RankingModel ranking;
    ranking.setExam(&exam);
    reportpages::modelTable(page, ranking,
                            { RankingModel::Place, RankingModel::Department,
                              RankingModel::ExamNumber, RankingModel::Name, RankingModel::Speed,
                              RankingModel::Accuracy, RankingModel::Grade, RankingModel::Score,
                              RankingModel::State },
                            { 0.07, 0.18, 0.14, 0.13, 0.11, 0.11, 0.09, 0.08, 0.09 });
    // Why each row is in doubt, under the table, where a long reason wraps
    // across the page.
    for (const ArchivedRow &row : exam.rows) {
        if (!row.doubts.isEmpty())
            page.paragraph(QCoreApplication::translate("examreport", "存疑　%1 %2 %3：%4")
                                   .arg(row.department, row.examNumber, row.name, row.doubtsLine()),
                           reportFont(kTextPoints));
    }
    const int drawn = page.finish();
    return painter.end() ? drawn : 0;
}

}  // namespace

QString defaultFileName(const ArchivedExam &exam)
{
    return documentname::forExam(QCoreApplication::translate("examreport", "考试报告"),
                                 exam.sitting.heldAt(), exam.sitting.articleName)
            + QStringLiteral(".pdf");
}

Charts drawCharts(const ArchivedExam &exam)
{
    return { reportpages::chartPicture(examcharts::speedHistogram(exam.rows, exam.sitting.scale)) };
}

QString writePdf(const ArchivedExam &exam, const Charts &charts, const QString &path)
{
    return reportpages::writePdf(path,
                                 QCoreApplication::translate("examreport", "打字考试成绩报告"),
                                 [&exam, &charts](QPdfWriter &writer, int pages) {
                                     return draw(writer, exam, charts, pages);
                                 });
}

}  // namespace examreport
