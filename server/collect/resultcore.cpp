// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultcore.h"

#include "exchange/numbers.h"

double ResultCore::accuracy() const
{
    return numbers::parseNumber(accuracyLine).value_or(0);
}

QString stateText(ExamineeState state)
{
    switch (state) {
    case ExamineeState::Absent:
        return QStringLiteral("未登录");
    case ExamineeState::Waiting:
        return QStringLiteral("未开始");
    case ExamineeState::Typing:
        return QStringLiteral("答题中");
    case ExamineeState::Finished:
        return QStringLiteral("已交卷");
    case ExamineeState::Interrupted:
        return QStringLiteral("中断");
    }
    return {};
}

QString keptStateText(ExamineeState state)
{
    return state == ExamineeState::Absent ? QStringLiteral("缺考") : stateText(state);
}

QString shownState(const QString &stateWord, bool doubtful)
{
    return doubtful ? QStringLiteral("存疑") : stateWord;
}
