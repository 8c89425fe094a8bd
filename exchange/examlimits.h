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

// A result record is a few hundred bytes; no result file near this is one.
constexpr qint64 kMaxResultFileBytes = 64 * 1024;

}  // namespace examlimits
