// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/resultexporter.h"

#include "export/celltext.h"
#include "export/documentname.h"
#include "export/doubtnotes.h"
#include "export/workbookwriter.h"
#include "export/xlsxfile.h"

#include "exchange/numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>

QString ResultExporter::newWorkbookPath(const QString &folder, const QDateTime &heldAt,
                                        const QString &articleName)
{
    const QString stem = documentname::forExam(title(), heldAt, articleName);
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral("-%1.xlsx").arg(n));
    return path;
}

namespace {

// Cells are addressed from 0; the sheet's row 1 is index 0.
class SheetWriter
{
    Q_DECLARE_TR_FUNCTIONS(SheetWriter)

public:
    SheetWriter(WorkbookWriter &file, lxw_worksheet *sheet, lxw_format *twoDecimals)
        : m_file(file), m_sheet(sheet), m_twoDecimals(twoDecimals)
    {
    }

    // `lastCol` beyond `col` merges the cells between into one.
    void text(lxw_row_t row, lxw_col_t col, const QString &value, const QString &header = QString(),
              lxw_col_t lastCol = 0, lxw_format *format = nullptr)
    {
        const QString why = m_file.text(m_sheet, row, col, value, format, lastCol);
        if (!why.isEmpty())
            m_changed << tr("第%1行 %2：%3").arg(row + 1).arg(header, why);
    }
    void number(lxw_row_t row, lxw_col_t col, double value, bool twoDecimals = false)
    {
        // A figure of two decimals holds exactly those, as every screen shows it.
        if (twoDecimals)
            value = numbers::roundHalfEven(value, 2);
        m_file.number(m_sheet, row, col, value, twoDecimals ? m_twoDecimals : nullptr);
    }
    const QStringList &changed() const { return m_changed; }

private:
    WorkbookWriter &m_file;
    lxw_worksheet *m_sheet;
    lxw_format *m_twoDecimals;
    QStringList m_changed;
};

}  // namespace

ResultExporter::Outcome ResultExporter::write(const QVector<ExportedRow> &rows, const QString &path,
                                              const std::optional<GradingScale> &scale,
                                              const QString &exam, const QString &titleNote)
{
    Outcome outcome;
    // Rows go out in order, so the library need not keep the sheet in memory.
    WorkbookWriter file(path, tr("成绩表"), true);
    if (!file.workbook()) {
        outcome.problem = file.problem();
        return outcome;
    }
    lxw_worksheet *sheet = file.sheet(sheetName());
    if (!sheet) {
        outcome.problem = file.refused(tr("无法建立工作表“%1”").arg(sheetName()));
        return outcome;
    }
    lxw_format *bold = file.format([](lxw_format *format) {
        format_set_bold(format);
        format_set_align(format, LXW_ALIGN_CENTER);
    });
    lxw_format *twoDecimals =
            file.format([](lxw_format *format) { format_set_num_format(format, "0.00"); });
    lxw_format *wrapped = file.format([](lxw_format *format) {
        format_set_text_wrap(format);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    });
    // A state beside a right-aligned score would read as one word ("50已交卷").
    lxw_format *centered =
            file.format([](lxw_format *format) { format_set_align(format, LXW_ALIGN_CENTER); });

    SheetWriter cells(file, sheet, twoDecimals);
    QStringList headers = {
        tr("部门"),        tr("考号"),           tr("姓名"),   tr("打字速度（字/分钟）"),
        tr("正确率（%）"), tr("打字时间（秒）"), tr("错字数"),
    };
    // With a scale, 等级 and 得分 follow; the marks come last.
    const lxw_col_t gradeColumn = lxw_col_t(headers.size());
    if (scale)
        headers << tr("等级") << tr("得分");
    const lxw_col_t stateColumn = lxw_col_t(headers.size());
    const bool withStates = std::any_of(
            rows.begin(), rows.end(), [](const ExportedRow &row) { return !row.state.isEmpty(); });
    if (withStates)
        headers << tr("状态") << tr("名次");
    // 存疑 stays on the screen beside its row; on paper its reasons follow
    // the table as notes, so the print area ends before it.
    const lxw_col_t doubtColumn = lxw_col_t(headers.size());
    const lxw_col_t printedColumns = doubtColumn;
    if (std::any_of(rows.begin(), rows.end(),
                    [](const ExportedRow &row) { return !row.doubts.isEmpty(); }))
        headers << tr("存疑");
    const lxw_col_t columns = lxw_col_t(headers.size());
    // Widths that show every heading and value whole: the texts as the
    // cells show them, numbers as written.
    QVector<int> widths(columns, 0);
    const auto fit = [&widths](int col, const QString &shown) {
        widths[col] = std::max(widths[col], celltext::displayWidth(shown));
    };
    for (lxw_col_t col = 0; col < columns; ++col)
        fit(col, headers[col]);
    for (const ExportedRow &exported : rows) {
        const ResultRow &result = exported.result;
        fit(0, result.department);
        fit(1, result.examNumber);
        fit(2, result.name);
        if (!exported.absent) {
            fit(3, QString::number(result.speed, 'f', 2));
            const auto accuracy = numbers::parseNumber(result.accuracyLine);
            fit(4, accuracy ? QString::number(*accuracy, 'f', 2) : result.accuracyLine);
            fit(5, QString::number(result.timePass));
        }
        if (exported.wrongCount)
            fit(6, QString::number(*exported.wrongCount));
        if (scale && !exported.absent) {
            const auto grade = scale->gradeOf(result);
            fit(gradeColumn, scale->nameOf(grade));
            fit(gradeColumn + 1, QString::number(scale->scoreOf(grade).value_or(0)));
        }
        if (withStates) {
            fit(stateColumn, exported.state);
            if (exported.place)
                fit(stateColumn + 1, QString::number(*exported.place));
        }
        if (!exported.doubts.isEmpty())
            fit(doubtColumn, exported.doubts);
    }
    int printedWidth = 0;
    for (lxw_col_t col = 0; col < columns; ++col) {
        const int width = std::min(widths[col] + kWidthMargin, kMaxWidth);
        file.check(worksheet_set_column(sheet, col, col, width, nullptr));
        if (col < printedColumns)
            printedWidth += width;
    }
    const QString heading = exam.isEmpty() ? title() : title() + tr("　") + exam;
    file.written(worksheet_merge_range(sheet, 0, 0, 0, printedColumns - 1,
                                       (heading + titleNote).toUtf8().constData(), bold),
                 sheet, 0, 0);
    file.check(xlsxfile::printOnA4(sheet, 2));
    file.check(xlsxfile::printHeader(sheet, heading));
    for (lxw_col_t col = 0; col < columns; ++col)
        cells.text(1, col, headers[col]);
    lxw_row_t row = 2;
    for (const ExportedRow &exported : rows) {
        const ResultRow &result = exported.result;
        cells.text(row, 0, result.department, headers[0]);
        cells.text(row, 1, result.examNumber, headers[1]);
        cells.text(row, 2, result.name, headers[2]);
        if (!exported.absent) {
            cells.number(row, 3, result.speed, true);
            // A number can be averaged and sorted; a line that is none stays text.
            if (const auto accuracy = numbers::parseNumber(result.accuracyLine))
                cells.number(row, 4, *accuracy, true);
            else
                cells.text(row, 4, result.accuracyLine, headers[4]);
            cells.number(row, 5, result.timePass);
        }
        if (exported.wrongCount)
            cells.number(row, 6, *exported.wrongCount);
        if (scale && !exported.absent) {
            const auto grade = scale->gradeOf(result);
            cells.text(row, gradeColumn, scale->nameOf(grade), headers[gradeColumn]);
            if (const auto score = scale->scoreOf(grade))
                cells.number(row, gradeColumn + 1, *score);
        }
        if (withStates) {
            cells.text(row, stateColumn, exported.state, headers[stateColumn], 0, centered);
            if (exported.place)
                cells.number(row, stateColumn + 1, *exported.place);
        }
        if (!exported.doubts.isEmpty())
            cells.text(row, doubtColumn, exported.doubts, headers[doubtColumn]);
        ++row;
    }
    // One row apart from the table, the notes; `row` ends after the last row.
    if (columns > printedColumns) {
        cells.text(++row, 0, tr("存疑说明"), {}, printedColumns - 1, bold);
        int number = 0;
        for (const ExportedRow &exported : rows) {
            if (exported.doubts.isEmpty())
                continue;
            const QString note = doubtnotes::note(++number, exported.result.examNumber,
                                                  exported.result.name, exported.doubts);
            file.check(worksheet_set_row(
                    sheet, ++row, doubtnotes::rowHeight(doubtnotes::lines(note, printedWidth)),
                    nullptr));
            cells.text(row, 0, note, headers[doubtColumn], printedColumns - 1, wrapped);
        }
        ++row;
    }
    file.check(worksheet_print_area(sheet, 0, 0, row - 1, printedColumns - 1));
    outcome.changed = cells.changed();
    outcome.problem = file.finish();
    return outcome;
}

QString ResultExporter::doneMessage(const QString &path, const QStringList &changed)
{
    return tr("成绩表已保存为 %1").arg(QDir::toNativeSeparators(path))
            + celltext::changesNote(changed, tr("成绩表"));
}
