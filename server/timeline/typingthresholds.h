// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every number the console judges a keystroke timeline by, in one place.
// The defaults leave a wide margin to the typing of people: the manual says
// how often an honest examinee meets each mark.
#include <QtGlobal>

struct TypingThresholds
{
    // 汉字未经输入法输入: this many Chinese characters arriving as plain key
    // events, not committed by an input method. A person needs an input
    // method for every one; the margin is for odd input methods that hand
    // over a character as a key event now and then.
    qint32 hanziByKeys = 5;

    // 按键节奏不像人工输入, too even: the intervals between typing keys,
    // cut at every break and pooled over the whole run (at least this many
    // of them), spread (standard deviation over mean, each stretch against
    // its own mean) below minSpread. Simulated steady typists with a spread
    // of 0.35 never came below 0.30 in 2000 runs of 600 keys; fixed and
    // evenly jittered scripts (up to +-50 %) come to 0.31 at most
    // (scripts/rhythm-calibration, docs/rhythm-calibration.md).
    qint32 evenStretchIntervals = 200;
    double minSpread = 0.30;
    // ... or too fast: this many intervals in a row averaging below
    // fastestMeanMs (faster than anyone sustains).
    qint32 burstIntervals = 30;
    double fastestMeanMs = 30;
    // A gap longer than this is a break, not part of a rhythm.
    qint32 breakMs = 2000;

    // 大段文字无按键输入: a piece of at least largePieceChars characters
    // arriving as plain key events with fewer keys behind it than
    // keysPerChar per character.
    qint32 largePieceChars = 10;
    double keysPerChar = 0.5;

    // 输入法粘贴N字: input-method commits that no typing produced (no
    // composition before them, or fewer composing keys than keysPerChar per
    // character; pinyin takes several keys a character, abbreviated phrases
    // about one), when together more than pastedShare of all characters
    // typed in and at least pastedMinChars.
    double pastedShare = 0.02;
    qint32 pastedMinChars = 5;

    // 按键记录与成绩不符: the timeline may run this long past the record's
    // time (the clocks of the record and of the timeline tick apart).
    qint32 graceSeconds = 10;

    // The speed curve shows gaps between keys of at least this as pauses.
    qint32 pauseSeconds = 5;
};
