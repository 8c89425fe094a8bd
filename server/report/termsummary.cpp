// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/termsummary.h"

#include "collect/resultcore.h"
#include "export/celltext.h"
#include "export/xlsxfile.h"

#include <algorithm>

namespace termreport {

namespace {

// An exam's heading wraps beyond this many columns.
constexpr int kWidestExamColumn = 24;

// The change in speed per exam over those taken: the slope of a least-squares line.
std::optional<double> trendOf(const QVector<std::pair<int, double>> &taken)
{
    if (taken.size() < 2)
        return std::nullopt;
    double meanX = 0;
    double meanY = 0;
    for (const auto &[x, y] : taken) {
        meanX += x;
        meanY += y;
    }
    meanX /= taken.size();
    meanY /= taken.size();
    double covariance = 0;
    double variance = 0;
    for (const auto &[x, y] : taken) {
        covariance += (x - meanX) * (y - meanY);
        variance += (x - meanX) * (x - meanX);
    }
    return covariance / variance;
}

}  // namespace

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

void WorkbookCells::written(lxw_error error)
{
    if (refusal == LXW_NO_ERROR)
        refusal = error;
}

void WorkbookCells::text(lxw_worksheet *sheet, const QString &sheetName, int row, int column,
                         const QString &value, lxw_format *format)
{
    const celltext::Fitted fitted = celltext::fitted(value);
    if (!fitted.why.isEmpty())
        changed << QStringLiteral("%1 第%2行：%3").arg(sheetName).arg(row + 1).arg(fitted.why);
    written(worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column),
                                   utf8(fitted.text).constData(), format));
}

void writeSummary(WorkbookCells &cells, lxw_worksheet *summary, const QString &sheetName,
                  const QStringList &labels, const QVector<Examinee> &examinees)
{
    const int total = int(labels.size());
    // The summary: a speed and a grade column per exam, then best, mean, trend.
    const QStringList fixed { QStringLiteral("考号"), QStringLiteral("姓名"),
                              QStringLiteral("部门") };
    for (int c = 0; c < fixed.size(); ++c)
        cells.written(worksheet_write_string(summary, 0, lxw_col_t(c), utf8(fixed[c]).constData(),
                                             cells.formats.bold));
    const int firstExamColumn = int(fixed.size());
    cells.written(worksheet_set_column(summary, 0, lxw_col_t(firstExamColumn - 1), 14, nullptr));
    // Each exam's headings as wide as its label, the label above 速度 or
    // 等级; a longer label wraps in the heading row, which is as high as
    // the most lines.
    int headingLines = 2;
    for (int e = 0; e < total; ++e) {
        const int labelWidth = celltext::displayWidth(celltext::fitted(labels[e]).text);
        const int width = std::min(labelWidth, kWidestExamColumn) + 2;
        headingLines = std::max(headingLines, 1 + (labelWidth + width - 3) / (width - 2));
        for (int half = 0; half < 2; ++half) {
            const int column = firstExamColumn + 2 * e + half;
            cells.text(summary, sheetName, 0, column,
                       labels[e] + (half ? QStringLiteral("\n等级") : QStringLiteral("\n速度")),
                       cells.formats.heading);
            cells.written(worksheet_set_column(summary, lxw_col_t(column), lxw_col_t(column), width,
                                               nullptr));
        }
    }
    cells.written(worksheet_set_row(summary, 0, 15 * headingLines, nullptr));
    const int afterExams = firstExamColumn + 2 * total;
    cells.written(worksheet_write_string(summary, 0, lxw_col_t(afterExams),
                                         utf8(QStringLiteral("最好速度")).constData(),
                                         cells.formats.bold));
    cells.written(worksheet_write_string(summary, 0, lxw_col_t(afterExams + 1),
                                         utf8(QStringLiteral("平均速度")).constData(),
                                         cells.formats.bold));
    cells.written(worksheet_write_string(summary, 0, lxw_col_t(afterExams + 2),
                                         utf8(QStringLiteral("趋势（字/分钟每次）")).constData(),
                                         cells.formats.bold));
    cells.written(worksheet_set_column(summary, lxw_col_t(afterExams), lxw_col_t(afterExams + 1),
                                       10, nullptr));
    cells.written(worksheet_set_column(summary, lxw_col_t(afterExams + 2),
                                       lxw_col_t(afterExams + 2), 20, nullptr));
    // Six exams to a printed page stay readable; 考号, 姓名 and 部门 head
    // every page across.
    constexpr int kExamsPerPrintedPage = 6;
    cells.written(lxw_error(xlsxfile::printOnA4(
            summary, 1, (total + kExamsPerPrintedPage - 1) / kExamsPerPrintedPage,
            firstExamColumn)));
    for (int i = 0; i < examinees.size(); ++i) {
        const Examinee &examinee = examinees[i];
        const lxw_row_t row = lxw_row_t(i + 1);
        cells.text(summary, sheetName, int(row), 0, examinee.examNumber, nullptr);
        cells.text(summary, sheetName, int(row), 1, examinee.name, nullptr);
        cells.text(summary, sheetName, int(row), 2, examinee.department, nullptr);
        QVector<std::pair<int, double>> taken;
        double best = 0;
        double sum = 0;
        for (int e = 0; e < examinee.results.size(); ++e) {
            if (examinee.absent[e])
                cells.written(worksheet_write_string(
                        summary, row, lxw_col_t(firstExamColumn + 2 * e + 1),
                        utf8(keptStateText(ExamineeState::Absent)).constData(), nullptr));
            if (!examinee.results[e])
                continue;
            const auto &[speed, grade] = *examinee.results[e];
            cells.written(worksheet_write_number(summary, row, lxw_col_t(firstExamColumn + 2 * e),
                                                 speed, nullptr));
            cells.text(summary, sheetName, int(row), firstExamColumn + 2 * e + 1, grade, nullptr);
            taken.append({ e, speed });
            best = std::max(best, speed);
            sum += speed;
        }
        // Absent from every exam chosen: no best and no mean.
        if (taken.isEmpty())
            continue;
        cells.written(worksheet_write_number(summary, row, lxw_col_t(afterExams), best, nullptr));
        cells.written(worksheet_write_number(summary, row, lxw_col_t(afterExams + 1),
                                             sum / taken.size(), cells.formats.oneDecimal));
        if (const auto trend = trendOf(taken))
            cells.written(worksheet_write_number(summary, row, lxw_col_t(afterExams + 2), *trend,
                                                 cells.formats.twoDecimals));
    }
}

}  // namespace termreport
