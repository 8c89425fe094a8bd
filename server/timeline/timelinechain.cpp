// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/timelinechain.h"

#include <QCryptographicHash>
#include <QList>

#include <algorithm>

namespace {

void addNumber(QCryptographicHash &hash, qint64 value)
{
    char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = char(quint64(value) >> (8 * i));
    hash.addData(QByteArrayView(bytes, 8));
}

// The first `keys` keys and `edits` edits, every value of each.
QByteArray digestOf(const KeyTimeline &timeline, size_t keys, size_t edits)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (size_t i = 0; i < keys; ++i) {
        addNumber(hash, timeline.keys[i].atMs);
        addNumber(hash, timeline.keys[i].intoComposition);
    }
    for (size_t i = 0; i < edits; ++i) {
        const TimelineEdit &edit = timeline.edits[i];
        for (qint64 value : { qint64(edit.atMs), qint64(edit.position), qint64(edit.removed),
                              qint64(edit.source), qint64(edit.inserted.size()) })
            addNumber(hash, value);
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(edit.inserted.utf16()),
                                    edit.inserted.size() * 2));
    }
    return hash.result();
}

TimelineChainMark countsOf(const KeyTimeline &timeline)
{
    TimelineChainMark mark;
    mark.coarse = timeline.coarse;
    if (timeline.coarse) {
        for (const TimelineStep &step : timeline.steps) {
            mark.keys += step.keys;
            mark.changed += qint64(step.inserted) + step.removed;
        }
        return mark;
    }
    mark.keys = qint64(timeline.keys.size());
    mark.edits = qint64(timeline.edits.size());
    for (const TimelineEdit &edit : timeline.edits)
        mark.changed += edit.inserted.size() + qint64(edit.removed);
    return mark;
}

}  // namespace

QByteArray TimelineChainMark::toText() const
{
    QList<QByteArray> words { coarse ? "coarse" : "whole", QByteArray::number(keys),
                              QByteArray::number(edits), QByteArray::number(changed) };
    if (!coarse)
        words << digest.toHex();
    return words.join(' ');
}

std::optional<TimelineChainMark> TimelineChainMark::fromText(QByteArrayView text)
{
    const QList<QByteArray> words = text.toByteArray().split(' ');
    if (words.size() < 4 || (words[0] != "coarse" && words[0] != "whole"))
        return std::nullopt;
    TimelineChainMark mark;
    mark.coarse = words[0] == "coarse";
    bool ok[3] = {};
    mark.keys = words[1].toLongLong(&ok[0]);
    mark.edits = words[2].toLongLong(&ok[1]);
    mark.changed = words[3].toLongLong(&ok[2]);
    if (!mark.coarse) {
        mark.digest = words.size() == 5 ? QByteArray::fromHex(words[4]) : QByteArray();
        if (mark.digest.size() != 32)
            return std::nullopt;
    }
    if (!ok[0] || !ok[1] || !ok[2] || words.size() != (mark.coarse ? 4 : 5))
        return std::nullopt;
    return mark;
}

TimelineChainMark chainMark(const KeyTimeline &timeline)
{
    TimelineChainMark mark = countsOf(timeline);
    if (!timeline.coarse)
        mark.digest = digestOf(timeline, timeline.keys.size(), timeline.edits.size());
    return mark;
}

bool continuesTimeline(const KeyTimeline &later, const TimelineChainMark &earlier)
{
    if (later.coarse) {
        const TimelineChainMark counts = countsOf(later);
        return counts.keys >= earlier.keys && counts.changed >= earlier.changed;
    }
    if (earlier.coarse || later.keys.size() < size_t(earlier.keys)
        || later.edits.size() < size_t(earlier.edits))
        return false;
    return digestOf(later, size_t(earlier.keys), size_t(earlier.edits)) == earlier.digest;
}
