// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Export of the results table to a new spreadsheet workbook (.xlsx), one
// sheet 成绩: the title in row 1, bold and merged across the columns, seven
// headers in row 2, then one row per record from row 3; each column as wide
// as its widest heading or value. It prints one page wide with the title
// and headers on every page.
#include "collect/resultstore.h"
#include "grading/gradingscale.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class ResultExporter
{
public:
    static QString title() { return QStringLiteral("打字考试成绩表"); }
    static QString sheetName() { return QStringLiteral("成绩"); }
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

    // Writes the rows in the order given. One row never stops the others:
    // each text goes in by celltext::fitted, and each cell it changed is
    // listed. Accuracy is a
    // number shown with two decimals when its text reads as one.
    // `doubts` holds the marks of doubtful rows by recno; when any row has
    // one, a last column "存疑" carries them. With a scale, 等级 and 得分
    // follow 错字数, which holds the wrong characters of the rows with an
    // answer sheet (`wrongCounts` by recno; empty for the others).
    static Outcome write(const QVector<ResultRow> &rows, const QString &path,
                         const QHash<qint32, QString> &doubts = {},
                         const std::optional<GradingScale> &scale = std::nullopt,
                         const QHash<qint32, qint32> &wrongCounts = {});

    // The examiner's message after an export: where the workbook is, and
    // which cells it had to change.
    static QString doneMessage(const QString &path, const QStringList &changed);
};
