// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The typed text at any moment of a run, replayed from the timeline's
// edits. Seeking is cheap at any length: the text is kept every so many
// edits, and a moment replays only the edits since the last kept text.
#include "exchange/keytimeline.h"

#include <QString>
#include <QVector>

#include <vector>

class TypingReplay
{
public:
    // `edits` must replay (keytimeline::replayed gives a text for them).
    explicit TypingReplay(std::vector<TimelineEdit> edits = {});

    // When the last edit happened, in ms of the exam clock.
    qint32 lastEditMs() const { return m_edits.empty() ? 0 : m_edits.back().atMs; }
    // The typed text after every edit up to and including `atMs`, line
    // breaks as "\n".
    QString textAt(qint32 atMs) const;

private:
    static constexpr int kEditsPerKeptText = 512;

    std::vector<TimelineEdit> m_edits;
    QVector<QString> m_kept;  // m_kept[k]: the text after k * kEditsPerKeptText edits
};

// A piece of a replayed text as the replay colours it.
struct TypedPiece
{
    bool right = true;
    QString text;  // line breaks as "\n"

    friend bool operator==(const TypedPiece &a, const TypedPiece &b)
    {
        return a.right == b.right && a.text == b.text;
    }
};

// A typed text (line breaks as "\n") cut into right and wrong pieces against
// the published text (CR LF), position by position as the client compares;
// typing beyond the published text is wrong. Without a published text
// every place is right.
QVector<TypedPiece> typedPieces(const QString &published, QStringView typed);
