// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one rule for text that goes into a workbook cell or onto a report
// page: control characters (NUL included) and the invisible marks that
// reorder text from right to left become U+FFFD, so a name can neither
// break the file nor disguise itself, and a text beyond what a cell holds
// is cut, never inside a surrogate pair.
#include <QString>
#include <QStringList>

namespace celltext {

// A spreadsheet cell holds at most this many characters.
constexpr int kMaxCellChars = 32767;

struct Fitted
{
    QString text;
    QString why;  // what was changed, e.g. "40000个字符截短为32767个"; empty when nothing
};

Fitted fitted(const QString &text);

// How many columns a text takes in a cell: CJK and full-width signs take two.
int displayWidth(const QString &text);

// The examiner's note on the cells a workbook had to change (each as
// "第5行 姓名：……"), against `source`: empty when none; the first ones when
// there are many.
QString changesNote(const QStringList &changed, const QString &source);

}  // namespace celltext
