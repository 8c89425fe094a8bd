// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libxlsxwriter writes a number with 16 significant digits, so 73.71 goes
// into the sheet as 73.70999999999999: the same number to Excel, but not
// what a reader of the file, or a program that compares text, expects.
// Each number of a written workbook's sheets is written again in the
// shortest form that reads back as the same number.
#include <QByteArray>
#include <QString>

namespace xlsxnumbers {

// The sheet's XML with every cell value <v>…</v> that is a number in its
// shortest form; the rest byte for byte.
QByteArray shortest(const QByteArray &sheetXml);

// Rewrites the workbook at `path` whole, its sheets' numbers shortest;
// why it could not, or empty. A workbook whose parts are too large to read
// is left as written.
QString tidy(const QString &path);

}  // namespace xlsxnumbers
