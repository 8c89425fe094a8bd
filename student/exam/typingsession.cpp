// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/typingsession.h"

#include "exchange/numbers.h"

#include <algorithm>

TypingSession::TypingSession(QString targetText) : m_comparison(std::move(targetText)) { }

TypingSession::Step TypingSession::compareTyped(int typedLen, int caret, int changedFrom,
                                                const TypedFrom &typedFrom)
{
    m_typedLen = typedLen;
    const bool changedBeforeEnd = caret < typedLen || m_comparedLen > typedLen;
    const Step step = changedBeforeEnd && caret <= targetLen() ? Step::Recomputed : Step::Continued;
    // Everything from the first changed position on is compared again.
    m_comparison.compare(typedLen, changedFrom, typedFrom);
    m_comparedLen = typedLen;
    return step;
}

QString TypingSession::fromTopLine(const QString &layer, int topLine)
{
    const qsizetype start = qsizetype(topLine) * kLineChars;
    if (start >= layer.size())
        return QString();
    return layer.mid(start);
}

int TypingSession::scrollMax(int targetLen)
{
    const int lines = int(numbers::roundHalfEven(double(targetLen) / kLineChars));
    return lines > kPageLines ? lines - kPageLines : 0;
}

int TypingSession::followCaret(int typedLen, int topLine, int scrollMax)
{
    const int typingLine = typedLen / kLineChars;
    if (double(typedLen) / kLineChars > topLine + kPageStep)
        topLine = std::min(typingLine, scrollMax);
    if (qint64(typedLen) <= qint64(topLine) * kLineChars)
        topLine = std::min(typingLine, scrollMax);
    return topLine;
}
