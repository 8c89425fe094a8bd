// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// QPdfWriter names each glyph in a PDF's text map (ToUnicode) by the lowest
// character the font draws with it. CJK fonts draw a Kangxi radical and its
// ideograph with one glyph (⽣ and 生, ⻔ and 门), and the radical comes
// first: a reader would find ⽣ where 生 was written. These mend that.
#include <QByteArray>
#include <QFont>
#include <QHash>

namespace pdftextmap {

// For each radical that `font` draws with an ideograph's glyph, that
// ideograph; a radical without one maps to its compatibility ideograph. A
// control character drawn with the blank's glyph maps to the blank.
QHash<char16_t, char16_t> radicalIdeographs(const QFont &font);

// `pdf` with every radical of its text maps replaced by its ideograph, and
// its cross-reference table moved with what it points to. A file that does
// not look as QPdfWriter writes it comes back unchanged.
QByteArray withIdeographs(const QByteArray &pdf, const QHash<char16_t, char16_t> &ideographs);

}  // namespace pdftextmap
