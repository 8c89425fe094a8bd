// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/termsummary.h"

#include "export/celltext.h"
#include "export/documentname.h"
#include "export/xlsxfile.h"

#include <algorithm>
#include <QCoreApplication>

namespace termreport {

namespace {

// An exam's heading wraps beyond this many columns.
constexpr int kWidestExamColumn = 24;

}  // namespace

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

WorkbookCells::WorkbookCells(WorkbookWriter &file) : file(file)
{
    formats.bold = file.format([](lxw_format *format) { format_set_bold(format); });
    formats.heading = file.format([](lxw_format *format) {
        format_set_bold(format);
        format_set_text_wrap(format);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    });
    formats.oneDecimal =
            file.format([](lxw_format *format) { format_set_num_format(format, "0.0"); });
    formats.twoDecimals =
            file.format([](lxw_format *format) { format_set_num_format(format, "0.00"); });
}

QString examLabel(const ArchivedExam &exam, int index)
{
    const QDateTime when = exam.sitting.heldAt();
    return QStringLiteral("%1 %2 %3")
            .arg(index + 1, 2, 10, QLatin1Char('0'))
            .arg(when.toLocalTime().toString(QStringLiteral("MM-dd")), exam.sitting.articleName);
}

QString examHeading(const ArchivedExam &exam, int index)
{
    const QString heldBy =
            QStringList { exam.sitting.lab, exam.sitting.teacher }.join(u' ').simplified();
    return heldBy.isEmpty() ? examLabel(exam, index) : examLabel(exam, index) + u'\n' + heldBy;
}

QString examPageHeader(const ArchivedExam &exam)
{
    documentname::ExamCaption caption { exam.sitting.heldAt().toLocalTime(),
                                        true,
                                        exam.sitting.articleName,
                                        exam.sitting.examMinutes,
                                        {} };
    for (const ArchivedRow &row : exam.rows)
        caption.departments << row.department;
    QStringList parts { documentname::caption(caption), exam.sitting.lab, exam.sitting.teacher };
    parts.removeAll(QString());
    return parts.join(QCoreApplication::translate("Termreport", "　"));
}

void WorkbookCells::text(lxw_worksheet *sheet, const QString &sheetName, int row, int column,
                         const QString &value, lxw_format *format)
{
    const QString why = file.text(sheet, lxw_row_t(row), lxw_col_t(column), value, format);
    if (!why.isEmpty())
        changed << tr("%1 第%2行：%3").arg(sheetName).arg(row + 1).arg(why);
}

void writeSummary(WorkbookCells &cells, lxw_worksheet *summary, const QString &sheetName,
                  const QStringList &labels, const QVector<TermExaminee> &examinees)
{
    const int total = int(labels.size());
    // The summary: a speed and a grade column per exam, then best, mean, trend.
    const QStringList fixed { QCoreApplication::translate("Termreport", "考号"),
                              QCoreApplication::translate("Termreport", "姓名"),
                              QCoreApplication::translate("Termreport", "部门") };
    for (int c = 0; c < fixed.size(); ++c)
        cells.file.text(summary, 0, lxw_col_t(c), fixed[c], cells.formats.bold);
    const int firstExamColumn = int(fixed.size());
    cells.file.check(worksheet_set_column(summary, 0, lxw_col_t(firstExamColumn - 1), 14, nullptr));
    // Each exam's headings as wide as its label's longest line, the label
    // above 速度 or 等级; a longer line wraps in the heading row, which is
    // as high as the most lines.
    int headingLines = 2;
    for (int e = 0; e < total; ++e) {
        const QStringList lines = labels[e].split(u'\n');
        int labelWidth = 0;
        for (const QString &line : lines)
            labelWidth = std::max(labelWidth, celltext::displayWidth(celltext::fitted(line).text));
        const int width = std::min(labelWidth, kWidestExamColumn) + 2;
        int lineCount = 1;
        for (const QString &line : lines)
            lineCount +=
                    (celltext::displayWidth(celltext::fitted(line).text) + width - 3) / (width - 2);
        headingLines = std::max(headingLines, lineCount);
        for (int half = 0; half < 2; ++half) {
            const int column = firstExamColumn + 2 * e + half;
            cells.text(summary, sheetName, 0, column,
                       labels[e]
                               + (half ? QCoreApplication::translate("Termreport", "\n等级")
                                       : QCoreApplication::translate("Termreport", "\n速度")),
                       cells.formats.heading);
            cells.file.check(worksheet_set_column(summary, lxw_col_t(column), lxw_col_t(column),
                                                  width, nullptr));
        }
    }
    cells.file.check(worksheet_set_row(summary, 0, 15 * headingLines, nullptr));
    const int afterExams = firstExamColumn + 2 * total;
    cells.file.text(summary, 0, lxw_col_t(afterExams),
                    QCoreApplication::translate("Termreport", "最好速度"), cells.formats.bold);
    cells.file.text(summary, 0, lxw_col_t(afterExams + 1),
                    QCoreApplication::translate("Termreport", "平均速度"), cells.formats.bold);
    cells.file.text(summary, 0, lxw_col_t(afterExams + 2),
                    QCoreApplication::translate("Termreport", "趋势（字/分钟每次）"),
                    cells.formats.bold);
    cells.file.check(worksheet_set_column(summary, lxw_col_t(afterExams), lxw_col_t(afterExams + 1),
                                          10, nullptr));
    cells.file.check(worksheet_set_column(summary, lxw_col_t(afterExams + 2),
                                          lxw_col_t(afterExams + 2), 20, nullptr));
    // Six exams to a printed page stay readable; 考号, 姓名 and 部门 head
    // every page across.
    constexpr int kExamsPerPrintedPage = 6;
    cells.file.check(xlsxfile::printOnA4(summary, 1,
                                         (total + kExamsPerPrintedPage - 1) / kExamsPerPrintedPage,
                                         firstExamColumn));
    for (int i = 0; i < examinees.size(); ++i) {
        const TermExaminee &examinee = examinees[i];
        const lxw_row_t row = lxw_row_t(i + 1);
        cells.text(summary, sheetName, int(row), 0, examinee.examNumber, nullptr);
        cells.text(summary, sheetName, int(row), 1, examinee.name, nullptr);
        cells.text(summary, sheetName, int(row), 2, examinee.department, nullptr);
        for (int e = 0; e < examinee.results.size(); ++e) {
            if (!examinee.notSat[e].isEmpty())
                cells.file.text(summary, row, lxw_col_t(firstExamColumn + 2 * e + 1),
                                examinee.notSat[e], nullptr);
            if (!examinee.results[e])
                continue;
            const auto &[speed, grade] = *examinee.results[e];
            cells.file.number(summary, row, lxw_col_t(firstExamColumn + 2 * e), speed, nullptr);
            cells.text(summary, sheetName, int(row), firstExamColumn + 2 * e + 1, grade, nullptr);
        }
        // Sat none of the exams chosen: no best and no mean.
        const std::optional<SpeedFigures> figures = speedFiguresOf(examinee);
        if (!figures)
            continue;
        cells.file.number(summary, row, lxw_col_t(afterExams), figures->best, nullptr);
        cells.file.number(summary, row, lxw_col_t(afterExams + 1), figures->mean,
                          cells.formats.oneDecimal);
        if (figures->trend)
            cells.file.number(summary, row, lxw_col_t(afterExams + 2), *figures->trend,
                              cells.formats.twoDecimals);
    }
}

lxw_chart *gradeShareChart(lxw_workbook *workbook, const QByteArray &sheet, lxw_row_t headingRow,
                           lxw_row_t firstRow, lxw_row_t lastRow, int firstGradeColumn, int grades)
{
    lxw_chart *chart = workbook_add_chart(workbook, LXW_CHART_COLUMN_STACKED_PERCENT);
    if (!chart)
        return nullptr;
    for (int g = 0; g < grades; ++g) {
        lxw_chart_series *share = chart_add_series(chart, nullptr, nullptr);
        if (!share)
            return nullptr;
        const lxw_col_t column = lxw_col_t(firstGradeColumn + g);
        chart_series_set_categories(share, sheet.constData(), firstRow, 0, lastRow, 0);
        chart_series_set_values(share, sheet.constData(), firstRow, column, lastRow, column);
        chart_series_set_name_range(share, sheet.constData(), headingRow, column);
    }
    chart_title_set_name(chart,
                         utf8(QCoreApplication::translate("Termreport", "等级分布")).constData());
    return chart;
}

}  // namespace termreport
