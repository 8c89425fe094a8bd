// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every PDF the console writes shares: a font with every character of
// a Chinese class list, embedded, and the file written whole with its text
// maps mended, so that a reader finds 生 where 生 was written.
#include <QByteArray>
#include <QFont>
#include <QString>

class QPdfWriter;

namespace pdffile {

// Every PDF is laid out in dots of this size.
constexpr int kDotsPerInch = 300;

// Portrait A4 with these margins, the title and the console as its creator.
void setUpA4(QPdfWriter &writer, qreal marginMillimetres, const QString &title);

// The first CJK family installed, at this size.
QFont chineseFont(int points, bool bold = false);

// Writes what QPdfWriter made, its text maps mended for the text drawn in
// `font`'s family, to `path` whole or not at all; the problem (starting
// with `cannotWrite`) or empty.
QString save(const QByteArray &pdf, const QFont &font, const QString &path,
             const QString &cannotWrite);

}  // namespace pdffile
