// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an examinee typed: every change of the typed text and every key press
// against the exam clock, as the client records them and the record's
// "timeline" section carries them. A run too long for the section's bound
// travels coarsened, as counts per step of whole seconds.
#include "exchange/examlimits.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// One change of the typed text: at `position` (counted in the text with
// each line break as one "\n"), `removed` characters went and `inserted`
// came in their place.
struct TimelineEdit
{
    enum class Source : quint8 {
        Keys,  // plain key events
        InputMethod,  // committed by an input method
    };

    qint32 atMs = 0;  // exam clock, from the start of the exam
    qint32 position = 0;
    qint32 removed = 0;
    QString inserted;
    Source source = Source::Keys;

    friend bool operator==(const TimelineEdit &a, const TimelineEdit &b)
    {
        return a.atMs == b.atMs && a.position == b.position && a.removed == b.removed
                && a.inserted == b.inserted && a.source == b.source;
    }
};

// One key press in the typing box.
struct TimelineKey
{
    qint32 atMs = 0;
    bool intoComposition = false;  // taken by an input method's composition

    friend bool operator==(const TimelineKey &a, const TimelineKey &b)
    {
        return a.atMs == b.atMs && a.intoComposition == b.intoComposition;
    }
};

// What a coarsened timeline keeps of one step: counts only.
struct TimelineStep
{
    qint32 keys = 0;
    qint32 compositionKeys = 0;  // of keys, those taken by a composition
    qint32 inserted = 0;  // characters inserted
    qint32 insertedByInputMethod = 0;  // of inserted, those an input method committed
    qint32 hanziByKeys = 0;  // Chinese characters inserted as plain key events
    qint32 removed = 0;  // characters removed

    friend bool operator==(const TimelineStep &a, const TimelineStep &b)
    {
        return a.keys == b.keys && a.compositionKeys == b.compositionKeys
                && a.inserted == b.inserted && a.insertedByInputMethod == b.insertedByInputMethod
                && a.hanziByKeys == b.hanziByKeys && a.removed == b.removed;
    }
};

// Each count added, stopping at the largest a count holds.
TimelineStep &operator+=(TimelineStep &to, const TimelineStep &from);

struct KeyTimeline
{
    // Every event in the order of the clock, when not coarse.
    std::vector<TimelineEdit> edits;
    std::vector<TimelineKey> keys;
    // A coarsened timeline has no events; steps[i] counts what happened
    // from i * stepSeconds to (i + 1) * stepSeconds on the exam clock.
    bool coarse = false;
    qint32 stepSeconds = 1;
    std::vector<TimelineStep> steps;

    friend bool operator==(const KeyTimeline &a, const KeyTimeline &b)
    {
        return a.edits == b.edits && a.keys == b.keys && a.coarse == b.coarse
                && a.stepSeconds == b.stepSeconds && a.steps == b.steps;
    }
};

namespace keytimeline {

// The record section's name.
inline constexpr QStringView kSectionName = u"timeline";
// The most a timeline section takes in a record.
constexpr qsizetype kMaxEncodedBytes = examlimits::kMaxTimelineBytes;

// Whether a character counts as Chinese for what arrived without an input
// method: the CJK unified ideographs and their extension A.
bool isHanzi(QChar character);

// The counts of a timeline's events in steps of stepSeconds; a coarse
// timeline is re-counted into the wider step.
KeyTimeline coarsened(const KeyTimeline &timeline, qint32 stepSeconds);

// The timeline compressed, exactly as written; no bound applied.
QByteArray encode(const KeyTimeline &timeline);

// The section's bytes: the whole timeline when it fits kMaxEncodedBytes,
// otherwise its counts in the narrowest step of seconds that fits.
QByteArray encodeWithinBound(const KeyTimeline &timeline);

struct Reading
{
    std::optional<KeyTimeline> timeline;
    QString problem;  // in Chinese, for the examiner; empty when read
};

// A damaged, oversized or inconsistent timeline is a problem, never a
// partial timeline.
Reading decode(QByteArrayView bytes);

// The text that the edits, applied in order to an empty text, leave; empty
// when an edit does not fit the text before it.
std::optional<QString> replayed(const std::vector<TimelineEdit> &edits);

}  // namespace keytimeline
