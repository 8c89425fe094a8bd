// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/termworkbook.h"

#include "report/termsummary.h"

#include "export/xlsxfile.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <QCoreApplication>

namespace termworkbook {

namespace {

using namespace termreport;

// The summary sheet: a title row, a heading row, then a row per class.
constexpr lxw_row_t kHeadingRow = 1;
constexpr lxw_row_t kFirstClassRow = 2;
enum SummaryColumn {
    Class,
    Exams,
    Expected,
    Sat,
    NotStarted,
    Absent,
    MeanSpeed,
    HighestSpeed,
    LowestSpeed,
    MeanAccuracy,
    PassRate,
    FirstGrade
};
constexpr int kChartRows = 20;  // rows of 20 pixels under a chart 1.25 times as high, and a gap

// Every grade named in the classes' figures, in the order they first come.
QStringList gradeNamesOf(const QVector<ExamStatistics> &figures)
{
    QStringList names;
    for (const ExamStatistics &statistics : figures) {
        for (const GradeCount &grade : statistics.grades) {
            if (!names.contains(grade.grade))
                names.append(grade.grade);
        }
    }
    return names;
}

// One class's row of the summary.
void writeClassRow(WorkbookCells &cells, lxw_worksheet *sheet, lxw_row_t row, const ClassTerm &term,
                   const ExamStatistics &figures, const QStringList &gradeNames)
{
    cells.text(sheet, summarySheetName(), int(row), Class, term.name, nullptr);
    const auto number = [&](int column, double value, lxw_format *format) {
        cells.file.number(sheet, row, lxw_col_t(column), value, format);
    };
    number(Exams, double(term.exams.size()), nullptr);
    // Without a class list in every exam only those who sat are known.
    if (figures.listed) {
        number(Expected, figures.people.expected(), nullptr);
        number(NotStarted, figures.people.notStarted, nullptr);
        number(Absent, figures.people.absent, nullptr);
    }
    number(Sat, figures.people.sat, nullptr);
    if (figures.speed.count == 0)
        return;
    number(MeanSpeed, figures.speed.mean, cells.formats.oneDecimal);
    number(HighestSpeed, figures.speed.highest, cells.formats.oneDecimal);
    number(LowestSpeed, figures.speed.lowest, cells.formats.oneDecimal);
    number(MeanAccuracy, figures.accuracy.mean, cells.formats.oneDecimal);
    number(PassRate, figures.passRate * 100, cells.formats.oneDecimal);
    for (const GradeCount &grade : figures.grades)
        number(FirstGrade + int(gradeNames.indexOf(grade.grade)), grade.count, nullptr);
}

// A class's sheet: its exams' headings and its examinees' results.
void writeClassSheet(WorkbookCells &cells, lxw_worksheet *sheet, const QString &sheetName,
                     const ClassTerm &term)
{
    QStringList headings;
    TermExaminees examinees(int(term.exams.size()));
    for (int e = 0; e < term.exams.size(); ++e) {
        const ArchivedExam &exam = term.exams[e];
        headings << examHeading(exam, e);
        for (const ArchivedRow &row : exam.rows)
            examinees.add(e, row, exam.sitting.scale);
    }
    writeSummary(cells, sheet, sheetName, headings, examinees.examinees());
}

}  // namespace

QString summarySheetName()
{
    return QCoreApplication::translate("termworkbook", "年级汇总");
}

QString defaultFileName(const SchoolTerm &term)
{
    return QCoreApplication::translate("termworkbook", "年级学期报告-%1.xlsx").arg(term.name());
}

Outcome write(const SchoolTerm &term, const QVector<ClassTerm> &classes, const QString &path,
              const Progress &progress)
{
    const bool anyExam = std::any_of(classes.begin(), classes.end(),
                                     [](const ClassTerm &one) { return !one.exams.isEmpty(); });
    if (!anyExam)
        return { QCoreApplication::translate("termworkbook",
                                             "选中的班级在%1没有考试，没有生成年级学期报告。")
                         .arg(term.name()) };
    WorkbookWriter file(path, QCoreApplication::translate("termworkbook", "年级学期报告"));
    if (!file.workbook())
        return { file.problem() };
    WorkbookCells cells(file);
    lxw_workbook *workbook = file.workbook();
    const auto refused = [&](const QString &what) -> Outcome { return { file.refused(what) }; };
    lxw_worksheet *summary = file.sheet(summarySheetName());
    if (!summary)
        return refused(QCoreApplication::translate("termworkbook", "无法建立工作表"));

    QVector<ExamStatistics> figures;
    QStringList usedSheetNames { summarySheetName() };
    const int total = int(classes.size());
    for (int c = 0; c < total; ++c) {
        figures.append(statisticsOf(classes[c]));
        const QString sheetName = xlsxfile::sheetName(classes[c].name, usedSheetNames);
        usedSheetNames << sheetName;
        lxw_worksheet *sheet = file.sheet(sheetName);
        if (!sheet)
            return refused(QCoreApplication::translate("termworkbook", "无法建立工作表“%1”")
                                   .arg(sheetName));
        writeClassSheet(cells, sheet, sheetName, classes[c]);
        if (progress && !progress(c + 1, total)) {
            file.abandon();
            return { {}, true };
        }
    }

    const QStringList gradeNames = gradeNamesOf(figures);
    cells.text(summary, summarySheetName(), 0, 0,
               QCoreApplication::translate("termworkbook", "%1 年级汇总（%2个班）")
                       .arg(term.name())
                       .arg(total),
               cells.formats.bold);
    const QStringList headings { QCoreApplication::translate("termworkbook", "班级"),
                                 QCoreApplication::translate("termworkbook", "考试场数"),
                                 QCoreApplication::translate("termworkbook", "应考（人次）"),
                                 QCoreApplication::translate("termworkbook", "实考（人次）"),
                                 QCoreApplication::translate("termworkbook", "未开始（人次）"),
                                 QCoreApplication::translate("termworkbook", "缺考（人次）"),
                                 QCoreApplication::translate("termworkbook", "平均速度"),
                                 QCoreApplication::translate("termworkbook", "最高速度"),
                                 QCoreApplication::translate("termworkbook", "最低速度"),
                                 QCoreApplication::translate("termworkbook", "平均正确率（%）"),
                                 QCoreApplication::translate("termworkbook", "及格率（%）") };
    for (int h = 0; h < headings.size(); ++h)
        cells.text(summary, summarySheetName(), int(kHeadingRow), h, headings[h],
                   cells.formats.heading);
    for (int g = 0; g < gradeNames.size(); ++g)
        cells.text(summary, summarySheetName(), int(kHeadingRow), FirstGrade + g, gradeNames[g],
                   cells.formats.heading);
    cells.file.check(worksheet_set_column(summary, Class, Class, 16, nullptr));
    cells.file.check(worksheet_set_column(summary, Exams, LowestSpeed, 10, nullptr));
    cells.file.check(worksheet_set_column(summary, MeanAccuracy, MeanAccuracy, 15, nullptr));
    cells.file.check(worksheet_set_column(summary, PassRate,
                                          lxw_col_t(FirstGrade + gradeNames.size()), 10, nullptr));
    cells.file.check(worksheet_set_row(summary, kHeadingRow, 30, nullptr));
    for (int c = 0; c < total; ++c)
        writeClassRow(cells, summary, kFirstClassRow + lxw_row_t(c), classes[c], figures[c],
                      gradeNames);
    cells.file.check(xlsxfile::printOnA4(summary, int(kHeadingRow) + 1));
    const lxw_row_t lastRow = kFirstClassRow + lxw_row_t(total) - 1;
    const lxw_row_t meanRow = lastRow + 2;
    const lxw_row_t shareRow = meanRow + kChartRows;
    lxw_row_t breaks[] = { meanRow, shareRow, 0 };
    cells.file.check(worksheet_set_h_pagebreaks(summary, breaks));
    // The classes side by side in two charts, each on a printed page of its own.
    const QByteArray sheet = utf8(summarySheetName());
    lxw_chart_options size {};
    size.x_scale = 1.5;
    size.y_scale = 1.25;
    lxw_chart *meanChart = workbook_add_chart(workbook, LXW_CHART_COLUMN);
    lxw_chart_series *mean = meanChart ? chart_add_series(meanChart, nullptr, nullptr) : nullptr;
    if (!mean)
        return refused(QCoreApplication::translate("termworkbook", "无法建立图表"));
    chart_series_set_categories(mean, sheet.constData(), kFirstClassRow, Class, lastRow, Class);
    chart_series_set_values(mean, sheet.constData(), kFirstClassRow, MeanSpeed, lastRow, MeanSpeed);
    chart_series_set_name_range(mean, sheet.constData(), kHeadingRow, MeanSpeed);
    chart_title_set_name(
            meanChart,
            utf8(QCoreApplication::translate("termworkbook", "各班平均速度")).constData());
    chart_axis_set_name(meanChart->y_axis,
                        utf8(QCoreApplication::translate("termworkbook", "字/分钟")).constData());
    // From 0, so the bars' heights compare as the speeds do.
    chart_axis_set_min(meanChart->y_axis, 0);
    chart_legend_set_position(meanChart, LXW_CHART_LEGEND_NONE);
    if (worksheet_insert_chart_opt(summary, meanRow, 0, meanChart, &size) != LXW_NO_ERROR)
        return refused(QCoreApplication::translate("termworkbook", "无法插入图表"));
    lxw_chart *shareChart = gradeShareChart(workbook, sheet, kHeadingRow, kFirstClassRow, lastRow,
                                            FirstGrade, int(gradeNames.size()));
    if (!shareChart
        || worksheet_insert_chart_opt(summary, shareRow, 0, shareChart, &size) != LXW_NO_ERROR)
        return refused(QCoreApplication::translate("termworkbook", "无法插入图表"));

    if (const QString problem = file.finish(); !problem.isEmpty())
        return { problem };
    return { {}, false, cells.changed };
}

}  // namespace termworkbook
