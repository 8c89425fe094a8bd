// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Export of the results table to a new spreadsheet workbook (.xlsx), one
// sheet 成绩: the title in row 1 (with the exam it is of), bold and merged
// across the columns, seven headers in row 2, then one row per record from
// row 3; each column as wide as its widest heading or value. It prints one
// page wide with the title and headers on every page, and the title above
// each page. Figures are numbers with two decimals.
#include "collect/resultstore.h"
#include "grading/gradingscale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// A row as the workbook shows it: the result and what the console says of it.
struct ExportedRow
{
    ResultRow result;
    bool absent = false;  // listed, never logged in: no figures
    QString state;  // the 状态 cell; when no row has one, there is no such column
    std::optional<int> place;  // 名次; none for the absent and the unfinished
    QString doubts;  // the 存疑 cell
    std::optional<qint32> wrongCount;  // of the answer sheet, when there is one
};

class ResultExporter
{
    Q_DECLARE_TR_FUNCTIONS(ResultExporter)
public:
    static QString title() { return tr("打字考试成绩表"); }
    static QString sheetName() { return tr("成绩"); }
    // Room beside the widest text of a column, and the widest a column gets
    // (a forged name may run to thousands of signs).
    static constexpr int kWidthMargin = 2;
    static constexpr int kMaxWidth = 100;

    // A new workbook path in the folder whose name tells the exam, e.g.
    // 打字考试成绩表-20261207-第1课.xlsx; never the name of an existing file
    // (-2, -3 ... are added).
    static QString newWorkbookPath(const QString &folder, const QDateTime &heldAt,
                                   const QString &articleName);

    struct Outcome
    {
        QString problem;  // why the workbook could not be written; empty when written
        QStringList changed;  // cells written differently from the table, e.g. "第5行 姓名：……"
    };

    // Writes the rows in the order given, as WorkbookWriter writes every
    // workbook. Each text goes in by celltext::fitted, and each cell it
    // changed is listed; a cell the library still refuses ends the
    // workbook, named. Accuracy is a number shown with two decimals when its text
    // reads as one. 错字数 holds the wrong characters of the rows with an
    // answer sheet; with a scale, 等级 and 得分 follow; with states, 状态
    // and 名次; when any row is doubtful, a last column "存疑" carries the
    // reasons. That column is not printed: the reasons print under the
    // table as numbered notes (存疑说明), each merged across the table. The exam
    // (documentname::caption) follows the title, then `titleNote`, e.g.
    // "（考试进行中，2人正在答题）".
    static Outcome write(const QVector<ExportedRow> &rows, const QString &path,
                         const std::optional<GradingScale> &scale = std::nullopt,
                         const QString &exam = {}, const QString &titleNote = {});

    // The examiner's message after an export: where the workbook is, and
    // which cells it had to change.
    static QString doneMessage(const QString &path, const QStringList &changed);
};
