// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Class lists as schools hand them over, written for the tests: real .xlsx
// workbooks through libxlsxwriter or openpyxl and text in UTF-16.
#include <QByteArray>
#include <QList>
#include <QStringList>

// Writes rows of cells; a cell "#123" is written as the number 123,
// "#12@0000" as 12 in the number format "0000". With constantMemory the
// strings are stored in the cells, not in a shared table. Options, apart by
// blanks: "hidden" puts a hidden sheet of another class before the list
// ("veryHidden" one that only a program can show); "merge:r1,c1,r2,c2"
// merges that range with its top-left cell's text; "openpyxl" writes the
// workbook through openpyxl, which marks each sheet's state as LibreOffice
// does (the number formats after "@" are left out then).
void writeWorkbook(const QString &path, const QList<QStringList> &rows, bool constantMemory,
                   const QString &options = {});

// The text in UTF-16 with its byte order mark, as Notepad's "Unicode".
QByteArray utf16(const QString &text, bool littleEndian);
