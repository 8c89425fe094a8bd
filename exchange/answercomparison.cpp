// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/answercomparison.h"

#include "exchange/gbk.h"
#include "exchange/scoring.h"

#include <algorithm>

AnswerComparison::AnswerComparison(QString targetText) : m_target(std::move(targetText))
{
    m_writeText.reserve(m_target.size());
    m_errorText.reserve(m_target.size());
    m_right.reserve(size_t(m_target.size()));
}

void AnswerComparison::compare(int typedLen, int from, const TypedFrom &typedFrom)
{
    // truncate keeps the reserved capacity, so this does not allocate.
    const int keep = std::max(0, std::min({ from, typedLen, comparedCount() }));
    for (int i = keep; i < comparedCount(); ++i)
        --(m_right[size_t(i)] ? m_rightCount : m_errorCount);
    m_writeText.truncate(keep);
    m_errorText.truncate(keep);
    m_right.resize(size_t(keep));

    const int end = std::min(typedLen, targetLen());
    if (keep >= end)
        return;
    const QString typed = typedFrom(keep);
    const int last = std::min(end, keep + int(typed.size()));
    const QChar *target = m_target.constData();
    const QChar *typedChars = typed.constData() - keep;
    for (int i = keep; i < last; ++i) {
        const QChar t = target[i];
        const QChar blank = blankFor(t);
        const bool right = typedChars[i] == t;
        m_writeText.append(right ? t : blank);
        m_errorText.append(right ? blank : t);
        m_right.push_back(right);
        ++(right ? m_rightCount : m_errorCount);
    }
}

void AnswerComparison::compare(const QString &typed)
{
    compare(int(typed.size()), 0, [&typed](int from) { return typed.mid(from); });
}

QChar AnswerComparison::blankFor(QChar targetChar)
{
    return gbk::byteWidth(targetChar) == 2 ? QChar(0x3000) : QChar(u' ');
}

int completeLength(QStringView target)
{
    return int(target.endsWith(u"\r\n") ? target.size() - 2 : target.size());
}

AnswerFigures scoreAnswer(const AnswerComparison &comparison, qint32 typedLen, qint32 timePass)
{
    const int right = comparison.rightCount();
    return { right, comparison.errorCount(), typedLen, scoring::speed(right, timePass),
             scoring::accuracy(right, comparison.errorCount()) };
}
