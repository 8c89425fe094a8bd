// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keystroke timelines of made-up runs, for the console's tests and
// benchmarks: a text typed character by character at a given pace.
#include "exchange/keytimeline.h"

#include <QString>

#include <functional>

// The next interval between two key presses, in ms.
using KeyPace = std::function<double()>;

// A person's pace: intervals spread log-normally around `medianMs` (a
// spread of about 0.5), drawn from `seed`.
KeyPace personLikePace(quint32 seed, double medianMs = 200);
// A steady person's pace: log-normal intervals whose standard deviation
// over mean is `spread`.
KeyPace steadyPace(quint32 seed, double medianMs, double spread);
// A tool's pace: every interval `ms`.
KeyPace fixedPace(double ms);
// A script's pace: intervals drawn evenly within `share` of `ms` either side.
KeyPace jitteredPace(quint32 seed, double ms, double share);
// `pace` with a pause of `pauseMs` added after every `every` intervals.
KeyPace withPauses(KeyPace pace, int every, double pauseMs);

// How the run's Chinese characters arrive.
enum class HanziEntry {
    Pinyin,  // three keys into a composition, then the committing key
    PlainKeys,  // one key event each, as an injecting tool sends them
};

// `text` (line breaks as "\n") typed from `startMs` at `pace`: each other
// character one plain key and its edit, stamped alike.
KeyTimeline typedRun(const QString &text, const KeyPace &pace,
                     HanziEntry hanzi = HanziEntry::Pinyin, qint32 startMs = 1000);

// `run` goes on, a second after its last key, with `arrows` keys that type
// nothing, `composing` keys into a composition and the key that commits
// `text` at the end of the text.
KeyTimeline committed(KeyTimeline run, const QString &text, int composing, int arrows = 0);
