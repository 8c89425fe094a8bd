// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reasons a row is in doubt as they print: a note under the table, as
// wide as the table and as many lines high as its text needs. In a column
// beside the figures a long reason would make fit-to-width shrink the whole
// table to a corner of the page.
#include <QString>

namespace doubtnotes {

// Points a sheet row takes per line of text in the default 11-point font,
// and the most Excel lets a row have.
constexpr double kLineHeight = 15.0;
constexpr double kMaxRowHeight = 409.0;

// "注1　2026003 张三：考号2026003不在名单中；……", numbered from 1.
QString note(int number, const QString &examNumber, const QString &name, const QString &doubts);

// The lines `text` wraps to across columns `widthUnits` wide in all (a CJK
// sign takes two units). A tenth of the width is kept in hand: a sign
// prints a little wider than two units in some fonts, and a line too few
// would hide the end of the reason.
int lines(const QString &text, int widthUnits);

// The height in points of a row of `lineCount` lines, at most kMaxRowHeight.
double rowHeight(int lineCount);

}  // namespace doubtnotes
