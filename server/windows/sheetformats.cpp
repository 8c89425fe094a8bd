// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/sheetformats.h"

QTextCharFormat markFormat(AnswerSheetPage::Mark mark)
{
    QTextCharFormat format;
    switch (mark) {
    case AnswerSheetPage::Mark::Right:
        format.setForeground(Qt::blue);
        break;
    case AnswerSheetPage::Mark::Wrong:
        format.setForeground(Qt::red);
        format.setFontWeight(QFont::Bold);
        break;
    case AnswerSheetPage::Mark::Missing:
        format.setForeground(Qt::gray);
        format.setFontUnderline(true);
        break;
    }
    return format;
}
