// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of a workbook's sheets and how they print.
#include <QString>
#include <QStringList>

struct lxw_worksheet;

namespace xlsxfile {

// A name for a new sheet that the library (and Excel) accepts: each of
// []:*?/\ becomes "_", at most 31 characters, no apostrophe at either end,
// never empty, and unlike every name in `taken` and "History" regardless
// of case (a number is added then).
QString sheetName(const QString &wanted, const QStringList &taken);

// Every sheet prints the same way: A4 landscape, `pagesWide` pages wide
// (one, unless a sheet is too wide to read on one), its first
// `headingRows` rows and `headingColumns` columns on every page and
// "第 N 页 / 共 M 页" below. The library's refusal, or 0.
int printOnA4(lxw_worksheet *sheet, int headingRows, int pagesWide = 1, int headingColumns = 0);

// `text` centred above every printed page, each "&" as itself, cut to the
// 255 signs Excel takes. The library's refusal, or 0.
int printHeader(lxw_worksheet *sheet, const QString &text);

}  // namespace xlsxfile
