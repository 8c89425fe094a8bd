#include "exam/typingsession.h"

#include "gbk.h"
#include "numbers.h"

#include <algorithm>

TypingSession::TypingSession(QString targetText) : m_target(std::move(targetText))
{
    m_writeText.reserve(m_target.size());
    m_errorText.reserve(m_target.size());
    m_right.reserve(size_t(m_target.size()));
}

TypingSession::Step TypingSession::compareTyped(int typedLen, int caret, int changedFrom,
                                                const TypedFrom &typedFrom)
{
    m_typedLen = typedLen;
    const int targetLen = this->targetLen();
    const bool changedBeforeEnd = caret < typedLen || m_comparedLen > typedLen;
    const Step step = changedBeforeEnd && caret <= targetLen ? Step::Recomputed : Step::Continued;

    // Everything from the first changed position on is compared again;
    // truncate keeps the reserved capacity, so this does not allocate.
    const int keep = std::max(0, std::min({ changedFrom, typedLen, int(m_writeText.size()) }));
    for (int i = keep; i < int(m_writeText.size()); ++i)
        --(m_right[size_t(i)] ? m_rightCount : m_errorCount);
    m_writeText.truncate(keep);
    m_errorText.truncate(keep);
    m_right.resize(size_t(keep));

    const int end = std::min(typedLen, targetLen);
    if (keep < end) {
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
