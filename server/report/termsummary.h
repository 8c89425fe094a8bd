// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of a term report's workbook: the cells every sheet writes
// through (the one rule for texts, the first refusal, the formats) and the
// summary sheet, one row per examinee with speed and grade in each exam,
// then best, mean and trend.
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>
#include <utility>

#include <xlsxwriter.h>

namespace termreport {

struct Formats
{
    lxw_format *bold = nullptr;
    lxw_format *heading = nullptr;  // bold, wrapped, at the top
    lxw_format *oneDecimal = nullptr;
    lxw_format *twoDecimals = nullptr;
};

// The cells of one workbook as they are written.
struct WorkbookCells
{
    Formats formats;
    // The cells written differently from the archive, e.g. "汇总 第5行：……".
    QStringList changed;
    // The first cell or column the library refused; the report ends then, named.
    lxw_error refusal = LXW_NO_ERROR;

    void written(lxw_error error);
    // A text by the one rule for cells, its change said.
    void text(lxw_worksheet *sheet, const QString &sheetName, int row, int column,
              const QString &value, lxw_format *format);
};

QByteArray utf8(const QString &text);

// An examinee's results across the report's exams.
struct Examinee
{
    QString examNumber;
    QString name;
    QString department;
    QVector<std::optional<std::pair<double, QString>>> results;  // speed and grade per exam
    QVector<bool> absent;  // per exam: listed, never logged in
};

// The summary sheet `summary` (named `sheetName`): a speed and a grade column per exam labelled
// `labels`, then best, mean and trend; one row per examinee.
void writeSummary(WorkbookCells &cells, lxw_worksheet *summary, const QString &sheetName,
                  const QStringList &labels, const QVector<Examinee> &examinees);

}  // namespace termreport
