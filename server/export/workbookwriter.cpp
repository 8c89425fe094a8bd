// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/workbookwriter.h"

#include "export/celltext.h"
#include "export/writeproblem.h"
#include "export/xlsxnumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Where libxlsxwriter writes the workbook that is to end up at `path`.
// It opens its file with fopen, which on Windows takes the name in the
// ANSI code page: a Chinese name would come out garbled or not at all.
// There the workbook is written under an ASCII name in the folder's short
// (8.3) form; elsewhere beside the target under the target's name.
QString scratchFor(const QString &path)
{
#ifdef Q_OS_WIN
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    wchar_t shortFolder[MAX_PATH];
    const DWORD length = GetShortPathNameW(reinterpret_cast<const wchar_t *>(folder.utf16()),
                                           shortFolder, MAX_PATH);
    const QString base = length > 0 && length < MAX_PATH
            ? QString::fromWCharArray(shortFolder, int(length))
            : folder;
    return base
            + QStringLiteral("\\kestrix-workbook-%1.xlsx.part")
                      .arg(QCoreApplication::applicationPid());
#else
    return path + QStringLiteral(".part");
#endif
}

lxw_workbook *begun(const QString &scratch, bool rowsInOrder)
{
    lxw_workbook_options options {};
    options.constant_memory = rowsInOrder ? LXW_TRUE : LXW_FALSE;
#ifdef Q_OS_WIN
    const QByteArray name = scratch.toLocal8Bit();
#else
    const QByteArray name = QFile::encodeName(scratch);
#endif
    return workbook_new_opt(name.constData(), &options);
}

}  // namespace

WorkbookWriter::WorkbookWriter(QString path, QString document, bool rowsInOrder)
    : m_path(std::move(path)),
      m_document(std::move(document)),
      m_scratch(scratchFor(m_path)),
      m_workbook(begun(m_scratch, rowsInOrder))
{
}

WorkbookWriter::~WorkbookWriter()
{
    abandon();
}

QString WorkbookWriter::problem() const
{
    return m_workbook ? QString()
                      : tr("无法建立%1 %2").arg(m_document, QDir::toNativeSeparators(m_path));
}

lxw_worksheet *WorkbookWriter::sheet(const QString &name)
{
    lxw_worksheet *made =
            m_workbook ? workbook_add_worksheet(m_workbook, name.toUtf8().constData()) : nullptr;
    if (made)
        m_sheetNames.insert(made, name);
    return made;
}

lxw_format *WorkbookWriter::format(const std::function<void(lxw_format *)> &setUp)
{
    lxw_format *made = m_workbook ? workbook_add_format(m_workbook) : nullptr;
    if (made)
        setUp(made);
    else
        m_formatRefused = true;
    return made;
}

QString WorkbookWriter::text(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column,
                             const QString &value, lxw_format *format, lxw_col_t lastColumn)
{
    const celltext::Fitted fitted = celltext::fitted(value);
    const QByteArray utf8 = fitted.text.toUtf8();
    written(lastColumn > column
                    ? worksheet_merge_range(sheet, row, column, row, lastColumn, utf8.constData(),
                                            format)
                    : worksheet_write_string(sheet, row, column, utf8.constData(), format),
            sheet, row, column);
    return fitted.why;
}

void WorkbookWriter::number(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, double value,
                            lxw_format *format)
{
    written(worksheet_write_number(sheet, row, column, value, format), sheet, row, column);
}

void WorkbookWriter::check(int error)
{
    if (m_refusal == LXW_NO_ERROR)
        m_refusal = lxw_error(error);
}

void WorkbookWriter::written(lxw_error error, lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column)
{
    if (error == LXW_NO_ERROR || m_refusal != LXW_NO_ERROR)
        return;
    m_refusal = error;
    char cell[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(cell, row, column);
    const QString sheetName = m_sheetNames.value(sheet);
    m_refusedCell = sheetName.isEmpty() ? QString::fromLatin1(cell)
                                        : sheetName + u'!' + QString::fromLatin1(cell);
}

QString WorkbookWriter::cannotWrite() const
{
    return tr("无法写出%1 %2").arg(m_document, QDir::toNativeSeparators(m_path));
}

QString WorkbookWriter::refused(const QString &what)
{
    abandon();
    return tr("无法写出%1 %2：%3").arg(m_document, QDir::toNativeSeparators(m_path), what);
}

void WorkbookWriter::abandon()
{
    if (m_workbook)
        workbook_close(m_workbook);
    m_workbook = nullptr;
    QFile::remove(m_scratch);
}

QString WorkbookWriter::finish()
{
    if (!m_workbook)
        return problem();
    if (m_formatRefused)
        return refused(tr("无法建立单元格格式"));
    if (m_refusal != LXW_NO_ERROR) {
        const QString why = QString::fromUtf8(lxw_strerror(m_refusal));
        return refused(m_refusedCell.isEmpty()
                               ? tr("无法写入单元格（%1）").arg(why)
                               : tr("无法写入单元格 %1（%2）").arg(m_refusedCell, why));
    }
    const lxw_error closed = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (closed != LXW_NO_ERROR) {
        abandon();
        return writeproblem::ofWorkbook(cannotWrite(), closed);
    }
    if (const QString untidy = xlsxnumbers::tidy(m_scratch); !untidy.isEmpty())
        return refused(untidy);
    // An older file steps aside until the new one is in place, and comes
    // back when it cannot be: a failed rename never loses the last report.
    const QString older = m_path + QStringLiteral(".old");
    const bool replacing = QFile::exists(m_path);
    if (replacing) {
        QFile::remove(older);
        if (!QFile::rename(m_path, older)) {
            abandon();
            return cannotWrite();
        }
    }
    if (!QFile::rename(m_scratch, m_path)) {
        if (replacing)
            QFile::rename(older, m_path);
        abandon();
        return cannotWrite();
    }
    if (replacing)
        QFile::remove(older);
    return {};
}
