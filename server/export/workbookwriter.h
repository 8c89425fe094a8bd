// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How every workbook the console makes is written: beside its target (the
// target's name and ".part") and renamed to it only when whole, its numbers
// in their shortest form (xlsxnumbers::tidy). The first cell, format or
// setting the library refuses ends the workbook, and the problem names it;
// a workbook given up, refused or not renamed leaves nothing behind.
// Problems name the document, e.g. "无法写出学期报告 D:\成绩\报告.xlsx：…".
#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <functional>

#include <xlsxwriter.h>

class WorkbookWriter
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookWriter)
public:
    // `document` is what the examiner calls it, e.g. "成绩表". With
    // `rowsInOrder` every sheet is written row after row and the library
    // keeps none of it in memory (a row before the last written is refused).
    WorkbookWriter(QString path, QString document, bool rowsInOrder = false);
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // Null when the library could not begin the workbook; see problem().
    lxw_workbook *workbook() const { return m_workbook; }
    // Why there is no workbook to write into, or empty.
    QString problem() const;

    // A new sheet known by `name` in problems; null when refused or
    // when there is no workbook.
    lxw_worksheet *sheet(const QString &name);
    // A new format, set up by `setUp`; null when refused, which ends the
    // workbook (a null format writes a plain cell meanwhile).
    lxw_format *format(const std::function<void(lxw_format *)> &setUp);

    // `value` by the one rule for cells (celltext::fitted), merged up to
    // `lastColumn` when that is beyond `column`; why the text was changed,
    // or empty.
    QString text(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QString &value,
                 lxw_format *format = nullptr, lxw_col_t lastColumn = 0);
    void number(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, double value,
                lxw_format *format = nullptr);
    // What the library said to a cell written by other means.
    void written(lxw_error error, lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column);
    // What the library said to anything else done to the workbook (a
    // column's width, the print setup, …): its first refusal ends it.
    void check(int error);
    bool isRefused() const { return m_refusal != LXW_NO_ERROR; }

    // Gives the workbook up; the problem, with `what` went wrong.
    QString refused(const QString &what);
    // Gives the workbook up, nothing to tell.
    void abandon();
    // Closes, tidies and renames it to the target; the problem or empty.
    QString finish();

private:
    QString cannotWrite() const;

    QString m_path;
    QString m_document;
    QString m_scratch;
    lxw_workbook *m_workbook = nullptr;
    QHash<const lxw_worksheet *, QString> m_sheetNames;
    lxw_error m_refusal = LXW_NO_ERROR;
    QString m_refusedCell;  // "汇总!B5"; empty when no cell was refused
    bool m_formatRefused = false;
};
