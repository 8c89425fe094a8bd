// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bounds the console and the client agree on: what the console publishes
// stays within what the client accepts, and what the client uploads within
// what the console reads.
#include <QtGlobal>

namespace examlimits {

// The client counts the exam down in whole seconds in a 16-bit counter, so
// 546 minutes (32760 seconds) is the longest exam it can run.
constexpr qint16 kShortestExamMinutes = 1;
constexpr qint16 kLongestExamMinutes = 546;
static_assert(kLongestExamMinutes * 60 <= 32767);
// The exam time when the examiner has stored none.
constexpr qint16 kDefaultExamMinutes = 20;

// While the examinee types, the client uploads a progress record this often;
// on a service where every upload is a new file, less often. The console
// takes a session for stopped once the slower interval and the clocks'
// grace have passed without a record.
constexpr int kProgressSeconds = 30;
constexpr int kWriteOnceProgressSeconds = 120;
constexpr int kClockGraceSeconds = 10;
constexpr int kStoppedSeconds = kWriteOnceProgressSeconds + kClockGraceSeconds;

// The longest exam text, each line break counted as its two characters (CR
// LF). A real article is far shorter.
constexpr int kLongestExamTextCharacters = 100000;
// The longest te.txt the client downloads: the longest text at two GBK bytes
// a character, with room to spare, and far from what strains the typing
// window.
constexpr qint64 kMaxExamTextBytes = 256 * 1024;
static_assert(2 * qint64(kLongestExamTextCharacters) <= kMaxExamTextBytes);

// The settings file se.dll holds two short lines; anything much longer is not
// one.
constexpr qint64 kMaxSettingsBytes = 256;

// The typing box takes at most this many characters beyond the exam text's
// length (line breaks counted as two): room for a few stray keys at the end,
// never a second copy of the text.
constexpr int kTypedBeyondTextCharacters = 200;

// A result record's lines before the answer sheet's text are a few hundred
// bytes; the text is at most the longest exam text and the slack beyond it,
// at two GBK bytes a character, and its closing CR LF. After the sheet come
// the keystroke timeline, at most kMaxTimelineBytes, and small sections (a
// publication, a signature) with every section's framing. No result file
// beyond that is one.
constexpr qint64 kMaxRecordHeadBytes = 64 * 1024;
constexpr qint64 kMaxTimelineBytes = 64 * 1024;
constexpr qint64 kMaxSmallSectionsBytes = 4 * 1024;
constexpr qint64 kMaxResultFileBytes = kMaxRecordHeadBytes
        + 2 * (qint64(kLongestExamTextCharacters) + kTypedBeyondTextCharacters) + 2
        + kMaxTimelineBytes + kMaxSmallSectionsBytes;

}  // namespace examlimits
