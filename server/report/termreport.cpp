// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/termreport.h"

#include "report/termsummary.h"

#include "export/celltext.h"
#include "export/xlsxfile.h"
#include "stats/examstatistics.h"
#include "stats/rankingmodel.h"
#include "stats/statisticspage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <xlsxwriter.h>
#include <QCoreApplication>

namespace termreport {

namespace {

// What a chart's axis calls an exam: its number and day, short enough to
// stand on one line under twenty exams.
QString shortLabel(const ArchivedExam &exam, int index)
{
    return QStringLiteral("%1 %2")
            .arg(index + 1, 2, 10, QLatin1Char('0'))
            .arg(exam.sitting.heldAt().toLocalTime().toString(QStringLiteral("MM-dd")));
}

// Chart sizes: the default 480 by 288 pixels, widened by this much per exam
// beyond eight, to at most a landscape page's width.
constexpr int kChartExamsAtDefaultWidth = 8;
constexpr double kChartWidthPerExam = 0.125;
constexpr double kChartWidestScale = 2;
constexpr double kChartHeightScale = 1.25;
constexpr int kChartRows = 20;  // rows of 20 pixels under a chart 1.25 times as high, and a gap
// The class sheet: exam, article, mean speed, pass rate, then a column per grade.
constexpr int kFirstGradeColumn = 4;

}  // namespace

QString summarySheetName()
{
    return QCoreApplication::translate("termreport", "汇总");
}

QString chartSheetName()
{
    return QCoreApplication::translate("termreport", "班级统计");
}

Outcome write(const QVector<ArchivedExam> &exams, const QString &path, const Progress &progress)
{
    if (exams.isEmpty())
        return { QCoreApplication::translate("termreport", "没有选中考试，没有生成学期报告。") };
    WorkbookWriter file(path, QCoreApplication::translate("termreport", "学期报告"));
    if (!file.workbook())
        return { file.problem() };
    // A sheet or chart the library refuses to make ends the report at once;
    // a cell, format or setting it refuses ends it, named, when it is finished.
    WorkbookCells cells(file);
    lxw_workbook *workbook = file.workbook();
    const auto refused = [&](const QString &what) -> Outcome { return { file.refused(what) }; };
    lxw_format *bold = cells.formats.bold;
    lxw_format *oneDecimal = cells.formats.oneDecimal;
    lxw_format *twoDecimals = cells.formats.twoDecimals;

    lxw_worksheet *summary = file.sheet(summarySheetName());
    lxw_worksheet *classSheet = file.sheet(chartSheetName());
    if (!summary || !classSheet)
        return refused(QCoreApplication::translate("termreport", "无法建立工作表"));

    const int total = int(exams.size());
    TermExaminees examinees(total);
    QStringList gradeNames;
    QStringList headings;
    QStringList usedSheetNames { summarySheetName(), chartSheetName() };
    QVector<ExamStatistics> attendance;  // per exam, for the class sheet's counts
    bool cancelled = false;
    for (int e = 0; e < total && !cancelled; ++e) {
        const ArchivedExam &exam = exams[e];
        const GradingScale &scale = exam.sitting.scale;
        headings << examHeading(exam, e);
        const QString sheetName = xlsxfile::sheetName(examLabel(exam, e), usedSheetNames);
        usedSheetNames << sheetName;
        lxw_worksheet *sheet = file.sheet(sheetName);
        if (!sheet)
            return refused(
                    QCoreApplication::translate("termreport", "无法建立工作表“%1”").arg(sheetName));
        // The ranking's columns up to the state, headed as in 历次考试.
        for (int c = RankingModel::Place; c <= RankingModel::State; ++c)
            cells.file.text(sheet, 0, lxw_col_t(c), RankingModel::header(RankingModel::Column(c)),
                            bold);
        cells.file.check(worksheet_set_column(sheet, 1, 3, 14, nullptr));
        cells.file.check(worksheet_set_column(sheet, 4, 6, 14, nullptr));
        cells.file.check(xlsxfile::printOnA4(sheet, 1));
        cells.file.check(xlsxfile::printHeader(sheet, examPageHeader(exam)));
        const QVector<std::optional<int>> places = placesOf(exam.rows);
        for (int i = 0; i < exam.rows.size(); ++i) {
            const ArchivedRow &row = exam.rows[i];
            const int r = i + 1;
            const auto grade = scale.gradeOf(row);
            if (places[i])
                cells.file.number(sheet, lxw_row_t(r), 0, *places[i], nullptr);
            cells.text(sheet, sheetName, r, 1, row.department, nullptr);
            cells.text(sheet, sheetName, r, 2, row.examNumber, nullptr);
            cells.text(sheet, sheetName, r, 3, row.name, nullptr);
            // Who did not sit has no figures.
            if (row.sat()) {
                cells.file.number(sheet, lxw_row_t(r), 4, row.speed, nullptr);
                cells.file.number(sheet, lxw_row_t(r), 5, row.accuracy(), twoDecimals);
                cells.file.number(sheet, lxw_row_t(r), 6, row.timePass, nullptr);
            }
            cells.text(sheet, sheetName, r, 7, scale.nameOf(grade), nullptr);
            if (const auto score = scale.scoreOf(grade))
                cells.file.number(sheet, lxw_row_t(r), 8, *score, nullptr);
            cells.text(sheet, sheetName, r, int(RankingModel::State), row.stateWord(), nullptr);
            examinees.add(e, row, scale);
        }
        // The class's figures for the charts.
        const ExamStatistics statistics = wholeExamStatistics(exam);
        attendance.append(statistics);
        cells.text(classSheet, chartSheetName(), e + 1, 0, shortLabel(exam, e), nullptr);
        cells.text(classSheet, chartSheetName(), e + 1, 1, exam.sitting.articleName, nullptr);
        cells.file.number(classSheet, lxw_row_t(e + 1), 2, statistics.speed.mean, oneDecimal);
        cells.file.number(classSheet, lxw_row_t(e + 1), 3, statistics.passRate * 100, oneDecimal);
        for (const GradeCount &grade : statistics.grades) {
            if (!gradeNames.contains(grade.grade))
                gradeNames << grade.grade;
            cells.file.number(classSheet, lxw_row_t(e + 1),
                              lxw_col_t(kFirstGradeColumn + gradeNames.indexOf(grade.grade)),
                              grade.count, nullptr);
        }
        if (progress && !progress(e + 1, total))
            cancelled = true;
    }
    if (cancelled) {
        file.abandon();
        return { {}, true };
    }

    writeSummary(cells, summary, summarySheetName(), headings, examinees.examinees());

    // The class sheet's headings and its two charts under its rows, each
    // on a printed page of its own.
    const QStringList classHeadings { QCoreApplication::translate("termreport", "考试"),
                                      QCoreApplication::translate("termreport", "文章"),
                                      QCoreApplication::translate("termreport", "平均速度"),
                                      QCoreApplication::translate("termreport", "及格率（%）") };
    for (int c = 0; c < classHeadings.size(); ++c)
        cells.text(classSheet, chartSheetName(), 0, c, classHeadings[c], bold);
    for (int g = 0; g < gradeNames.size(); ++g)
        cells.text(classSheet, chartSheetName(), 0, kFirstGradeColumn + g, gradeNames[g], bold);
    // 应考, 实考, 未开始 and 缺考 after the grades; without a class list
    // only 实考 is known.
    const QStringList counted { QCoreApplication::translate("termreport", "应考"),
                                QCoreApplication::translate("termreport", "实考"),
                                QCoreApplication::translate("termreport", "未开始"),
                                QCoreApplication::translate("termreport", "缺考") };
    const int firstCountColumn = kFirstGradeColumn + int(gradeNames.size());
    for (int c = 0; c < counted.size(); ++c)
        cells.text(classSheet, chartSheetName(), 0, firstCountColumn + c, counted[c], bold);
    for (int e = 0; e < attendance.size(); ++e) {
        const Attendance &people = attendance[e].people;
        const lxw_row_t row = lxw_row_t(e + 1);
        const auto count = [&](int column, int value) {
            cells.file.number(classSheet, row, lxw_col_t(firstCountColumn + column), value,
                              nullptr);
        };
        count(1, people.sat);
        if (!attendance[e].listed)
            continue;
        count(0, people.expected());
        count(2, people.notStarted);
        count(3, people.absent);
    }
    cells.file.check(worksheet_set_column(classSheet, 0, 0, 10, nullptr));
    cells.file.check(worksheet_set_column(classSheet, 1, 1, 30, nullptr));
    cells.file.check(worksheet_set_column(classSheet, 2, 3, 12, nullptr));
    cells.file.check(xlsxfile::printOnA4(classSheet, 1));
    const QByteArray sheet = utf8(chartSheetName());
    const lxw_row_t lastRow = lxw_row_t(total);
    const lxw_row_t meanRow = lastRow + 2;
    const lxw_row_t shareRow = meanRow + kChartRows;
    lxw_row_t breaks[] = { meanRow, shareRow, 0 };
    cells.file.check(worksheet_set_h_pagebreaks(classSheet, breaks));

    lxw_chart_options size {};
    size.x_scale =
            std::min(kChartWidestScale,
                     1 + kChartWidthPerExam * std::max(0, total - kChartExamsAtDefaultWidth));
    size.y_scale = kChartHeightScale;
    // Labels turned aside, so many exams never wrap them.
    lxw_chart_font slanted {};
    slanted.rotation = total > kChartExamsAtDefaultWidth ? -45 : 0;

    lxw_chart *meanChart = workbook_add_chart(workbook, LXW_CHART_LINE);
    lxw_chart_series *mean = meanChart ? chart_add_series(meanChart, nullptr, nullptr) : nullptr;
    if (!mean)
        return refused(QCoreApplication::translate("termreport", "无法建立图表"));
    chart_series_set_categories(mean, sheet.constData(), 1, 0, lastRow, 0);
    chart_series_set_values(mean, sheet.constData(), 1, 2, lastRow, 2);
    chart_series_set_name(mean,
                          utf8(QCoreApplication::translate("termreport", "平均速度")).constData());
    chart_series_set_marker_type(mean, LXW_CHART_MARKER_CIRCLE);
    chart_title_set_name(
            meanChart, utf8(QCoreApplication::translate("termreport", "班级平均速度")).constData());
    chart_axis_set_name(meanChart->y_axis,
                        utf8(QCoreApplication::translate("termreport", "字/分钟")).constData());
    chart_axis_set_num_font(meanChart->x_axis, &slanted);
    if (worksheet_insert_chart_opt(classSheet, meanRow, 0, meanChart, &size) != LXW_NO_ERROR)
        return refused(QCoreApplication::translate("termreport", "无法插入图表"));

    lxw_chart *shareChart = gradeShareChart(workbook, sheet, 0, 1, lastRow, kFirstGradeColumn,
                                            int(gradeNames.size()));
    if (!shareChart)
        return refused(QCoreApplication::translate("termreport", "无法建立图表"));
    chart_axis_set_num_font(shareChart->x_axis, &slanted);
    if (worksheet_insert_chart_opt(classSheet, shareRow, 0, shareChart, &size) != LXW_NO_ERROR)
        return refused(QCoreApplication::translate("termreport", "无法插入图表"));

    if (const QString problem = file.finish(); !problem.isEmpty())
        return { problem };
    return { {}, false, cells.changed };
}

QString defaultFileName(const QDateTime &first, const QDateTime &last)
{
    const QString day = QStringLiteral("yyyyMMdd");
    return QCoreApplication::translate("termreport", "学期报告-%1-%2.xlsx")
            .arg(first.toLocalTime().toString(day), last.toLocalTime().toString(day));
}

}  // namespace termreport
