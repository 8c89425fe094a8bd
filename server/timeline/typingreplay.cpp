// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/typingreplay.h"

#include "exchange/answercomparison.h"
#include "timeline/recordtimeline.h"

#include <algorithm>

namespace {

void apply(QString &text, const TimelineEdit &edit)
{
    text.replace(edit.position, edit.removed, edit.inserted);
}

}  // namespace

TypingReplay::TypingReplay(std::vector<TimelineEdit> edits) : m_edits(std::move(edits))
{
    QString text;
    m_kept << text;
    for (size_t i = 0; i < m_edits.size(); ++i) {
        apply(text, m_edits[i]);
        if ((i + 1) % kEditsPerKeptText == 0)
            m_kept << text;
    }
}

QString TypingReplay::textAt(qint32 atMs) const
{
    const auto end =
            std::upper_bound(m_edits.cbegin(), m_edits.cend(), atMs,
                             [](qint32 ms, const TimelineEdit &edit) { return ms < edit.atMs; });
    const size_t count = size_t(end - m_edits.cbegin());
    const size_t kept = count / kEditsPerKeptText;
    QString text = m_kept.at(qsizetype(kept));
    for (size_t i = kept * kEditsPerKeptText; i < count; ++i)
        apply(text, m_edits[i]);
    return text;
}

QVector<TypedPiece> typedPieces(const QString &published, QStringView typed)
{
    if (published.isEmpty())
        return typed.isEmpty() ? QVector<TypedPiece>()
                               : QVector<TypedPiece> { { true, typed.toString() } };
    AnswerComparison comparison(published);
    comparison.compare(withCrLf(typed));
    QVector<TypedPiece> pieces;
    int position = 0;  // in the compared text, a line break two places
    for (const QChar character : typed) {
        const int width = character == u'\n' ? 2 : 1;
        bool right = position + width <= comparison.comparedCount();
        for (int k = 0; right && k < width; ++k)
            right = comparison.isRightAt(position + k);
        if (pieces.isEmpty() || pieces.last().right != right)
            pieces.append(TypedPiece { right, QString() });
        pieces.last().text += character;
        position += width;
    }
    return pieces;
}
