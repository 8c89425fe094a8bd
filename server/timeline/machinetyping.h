// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The marks a keystroke timeline earns when it looks typed by a machine,
// one rule each, and what the live view shows of it. A mark is a doubt:
// the examiner decides.
#include "exchange/keytimeline.h"
#include "exchange/resultrecord.h"
#include "timeline/typingthresholds.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace machinetyping {

// Each rule's reason, empty when the timeline gives none.
// "汉字未经输入法输入（N字）"
QString hanziWithoutInputMethod(const KeyTimeline &timeline, const TypingThresholds &thresholds);
// "按键节奏不像人工输入": too even over the typing between breaks, pooled
// over the run, or too fast.
QString inhumanRhythm(const KeyTimeline &timeline, const TypingThresholds &thresholds);
// "大段文字无按键输入": a large piece of plain key events (or, on a coarse
// timeline, of anything) with hardly a key behind it. A piece that restores
// what was just removed in its place (an undo) is no such piece.
QString textWithoutKeys(const KeyTimeline &timeline, const TypingThresholds &thresholds);
// "输入法粘贴N字": the characters of input-method commits that no composing
// keys produced, such as a clipboard panel's, pieces of any size added up.
// Keys that do not compose (arrows, Ctrl) count for nothing. A coarse
// timeline keeps too little to tell.
QString pastedThroughInputMethod(const KeyTimeline &timeline, const TypingThresholds &thresholds);
// "按键记录与成绩不符": the edits do not replay into the sheet's typed text,
// or the timeline runs past the record's time.
QString disagreesWithRecord(const KeyTimeline &timeline, const ResultRecord &record,
                            const TypingThresholds &thresholds);

}  // namespace machinetyping

struct TimelineFindings
{
    QStringList doubts;
    // Right characters per minute over the record's last minute; none
    // without a timeline that replays.
    std::optional<double> lastMinuteSpeed;

    friend bool operator==(const TimelineFindings &a, const TimelineFindings &b)
    {
        return a.doubts == b.doubts && a.lastMinuteSpeed == b.lastMinuteSpeed;
    }
};

// Every rule on a record's timeline. A record without one (an older
// client's) gives nothing; a damaged or oversized one is a doubt.
// `published`: the exam text as the client compares it, empty when unknown.
TimelineFindings examineTimeline(const ResultRecord &record, const QString &published,
                                 const TypingThresholds &thresholds = {});
