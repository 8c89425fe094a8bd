// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/doubtnotes.h"

#include "export/celltext.h"

#include <algorithm>
#include <QCoreApplication>

namespace doubtnotes {

QString note(int number, const QString &examNumber, const QString &name, const QString &doubts)
{
    return QCoreApplication::translate("doubtnotes", "注%1　%2 %3：%4")
            .arg(number)
            .arg(examNumber, name, doubts);
}

int lines(const QString &text, int widthUnits)
{
    const int perLine = std::max(2, widthUnits * 9 / 10);
    const int width = celltext::displayWidth(text);
    return std::max(1, (width + perLine - 1) / perLine);
}

double rowHeight(int lineCount)
{
    return std::min(kMaxRowHeight, kLineHeight * lineCount);
}

}  // namespace doubtnotes
