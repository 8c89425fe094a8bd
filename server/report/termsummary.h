// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of a term report's workbook: the cells every sheet writes
// through (the one rule for texts, the formats) and the summary sheet, one
// row per examinee (TermExaminees) with speed and grade in each exam, then
// best, mean and trend.
#include "archive/archivedexam.h"
#include "export/workbookwriter.h"
#include "stats/termexaminees.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

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
    Q_DECLARE_TR_FUNCTIONS(WorkbookCells)

public:
    // The formats every sheet of a term's workbook uses, made in `file`.
    explicit WorkbookCells(WorkbookWriter &file);

    WorkbookWriter &file;
    Formats formats;
    // The cells written differently from the archive, e.g. "汇总 第5行：……".
    QStringList changed;

    // A text by the one rule for cells, its change said.
    void text(lxw_worksheet *sheet, const QString &sheetName, int row, int column,
              const QString &value, lxw_format *format);
};

QByteArray utf8(const QString &text);

// "01 03-02 春晓": an exam's place among the report's, its day and article.
QString examLabel(const ArchivedExam &exam, int index);
// The label over the summary's columns of an exam: the label, and on a
// second line the lab and the teacher who held it, where the archive knows
// them (a school's exams come from many labs).
QString examHeading(const ArchivedExam &exam, int index);
// What a printed page of one exam says above it: when, the article, the
// minutes, the classes, and the lab and teacher where known.
QString examPageHeader(const ArchivedExam &exam);

// The summary sheet `summary` (named `sheetName`): a speed and a grade column per exam labelled
// `labels`, then best, mean and trend; one row per examinee.
void writeSummary(WorkbookCells &cells, lxw_worksheet *summary, const QString &sheetName,
                  const QStringList &labels, const QVector<TermExaminee> &examinees);

// A stacked chart of grade shares on `sheet`: a column per row from
// `firstRow` to `lastRow`, categories in column 0, a series per grade
// column from `firstGradeColumn`, each named by its cell in `headingRow`;
// null when the library refused.
lxw_chart *gradeShareChart(lxw_workbook *workbook, const QByteArray &sheet, lxw_row_t headingRow,
                           lxw_row_t firstRow, lxw_row_t lastRow, int firstGradeColumn, int grades);

}  // namespace termreport
