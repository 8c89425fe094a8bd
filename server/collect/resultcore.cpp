// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultcore.h"

#include "exchange/numbers.h"

#include <QCoreApplication>

double ResultCore::accuracy() const
{
    return numbers::parseNumber(accuracyLine).value_or(0);
}

namespace {

// The words are kept in Chinese in archives written before states were
// codes; they are shown translated.
const char *stateSource(ExamineeState state)
{
    switch (state) {
    case ExamineeState::Absent:
        return QT_TRANSLATE_NOOP("ResultCore", "未登录");
    case ExamineeState::Waiting:
        return QT_TRANSLATE_NOOP("ResultCore", "未开始");
    case ExamineeState::Typing:
        return QT_TRANSLATE_NOOP("ResultCore", "答题中");
    case ExamineeState::Finished:
        return QT_TRANSLATE_NOOP("ResultCore", "已交卷");
    case ExamineeState::Interrupted:
        return QT_TRANSLATE_NOOP("ResultCore", "中断");
    }
    return "";
}

const char *keptStateSource(ExamineeState state)
{
    return state == ExamineeState::Absent ? QT_TRANSLATE_NOOP("ResultCore", "缺考")
                                          : stateSource(state);
}

}  // namespace

QString stateText(ExamineeState state)
{
    return QCoreApplication::translate("ResultCore", stateSource(state));
}

QString keptStateText(ExamineeState state)
{
    return QCoreApplication::translate("ResultCore", keptStateSource(state));
}

QStringList storedStateWords(ExamineeState state)
{
    return { QString::fromUtf8(keptStateSource(state)), QString::fromUtf8(stateSource(state)) };
}

QString shownState(const QString &stateWord, bool doubtful)
{
    return doubtful ? QCoreApplication::translate("ResultCore", "存疑") : stateWord;
}
