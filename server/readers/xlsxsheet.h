// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the cells of the first visible worksheet of an .xlsx workbook: the
// zip container is read with zlib, the XML with QXmlStreamReader. Only what
// a class list needs: text and number cells as text (numbers as the file
// writes them, padded with zeros when the cell's format does), merged cells
// filled from their top-left cell, no formulas' results beyond their cached
// values.
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace xlsx {

struct SheetReading
{
    std::optional<QVector<QStringList>> rows;  // one list per row, cells by column from A
    QString problem;  // in Chinese, for the examiner
};

// A class list is small; larger files are refused rather than inflated.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
constexpr int kMaxRows = 10000;
constexpr int kMaxColumns = 64;

SheetReading readFirstSheet(const QString &path);
// The same from the file's bytes; path only names it in problems.
SheetReading readFirstSheet(QByteArray bytes, const QString &path);

}  // namespace xlsx
