#include "typingsession.h"

#include "gbk.h"
#include "numbers.h"

#include <algorithm>

TypingSession::TypingSession(QString targetText)
    : m_target(std::move(targetText))
{
    m_writeText.reserve(m_target.size());
    m_errorText.reserve(m_target.size());
}

TypingSession::Step TypingSession::compareTyped(int typedLen, int caret, const TypedFrom &typedFrom)
{
    m_typedLen = typedLen;
    const int targetLen = this->targetLen();
    const bool changedBeforeEnd = caret < typedLen || m_comparedLen > typedLen;
    const Step step = changedBeforeEnd && caret <= targetLen ? Step::Recomputed : Step::Continued;
    if (step == Step::Recomputed) {
        // truncate keeps the reserved capacity, so a recompute does not
        // allocate again.
        m_writeText.truncate(0);
        m_errorText.truncate(0);
        m_rightCount = 0;
        m_errorCount = 0;
        m_comparedLen = 0;
    }

    const int end = std::min(typedLen, targetLen);
    if (m_comparedLen < end) {
        const QString typed = typedFrom(m_comparedLen);
        const int available = m_comparedLen + int(typed.size());
        const int last = std::min(end, available);
        const QChar *target = m_target.constData();
        const QChar *typedChars = typed.constData() - m_comparedLen;
        for (int i = m_comparedLen; i < last; ++i) {
            const QChar t = target[i];
            const QChar blank = blankFor(t);
            if (typedChars[i] == t) {
                m_writeText.append(t);
                m_errorText.append(blank);
                ++m_rightCount;
            } else {
                m_writeText.append(blank);
                m_errorText.append(t);
                ++m_errorCount;
            }
        }
    }
    m_comparedLen = typedLen;
    return step;
}

QChar TypingSession::blankFor(QChar targetChar)
{
    return gbk::byteWidth(targetChar) == 2 ? QChar(0x3000) : QChar(u' ');
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
