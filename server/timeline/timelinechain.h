// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A session's records carry one timeline that only grows: each record's
// timeline begins with the one before it, every key and edit at the same
// time. The console keeps of a record's timeline only what the next one is
// held against: how many events it had and a digest of them.
#include "exchange/keytimeline.h"

#include <QByteArray>

#include <optional>

struct TimelineChainMark
{
    bool coarse = false;
    qint64 keys = 0;  // keys pressed
    qint64 edits = 0;  // edits recorded; 0 when coarse
    qint64 changed = 0;  // characters inserted and removed
    QByteArray digest;  // of the keys and edits; empty when coarse

    // One line of ASCII, as the session table keeps it.
    QByteArray toText() const;
    static std::optional<TimelineChainMark> fromText(QByteArrayView text);

    friend bool operator==(const TimelineChainMark &a, const TimelineChainMark &b)
    {
        return a.coarse == b.coarse && a.keys == b.keys && a.edits == b.edits
                && a.changed == b.changed && a.digest == b.digest;
    }
    friend bool operator!=(const TimelineChainMark &a, const TimelineChainMark &b)
    {
        return !(a == b);
    }
};

TimelineChainMark chainMark(const KeyTimeline &timeline);

// Whether `later` goes on from the timeline `earlier` marks: its first keys
// and edits are those, unchanged. A coarse timeline keeps counts only, so
// one that follows is held to counts that never go down; a whole timeline
// never follows a coarse one (the client keeps coarsening once it began).
bool continuesTimeline(const KeyTimeline &later, const TimelineChainMark &earlier);
