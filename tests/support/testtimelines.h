// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keystroke timelines of whole runs as a person makes them, for the tests
// and benchmarks of both programs: keys spaced by a seeded spread, a wrong
// key now and then taken back.
#include "exchange/keytimeline.h"

#include <QString>

// Text typed key by key, every character one key and one edit; about one
// key in forty is a wrong letter followed by a backspace.
KeyTimeline typedByKeys(const QString &text, quint32 seed);

// Chinese typed with pinyin: each character (or pair of characters, as a
// word) takes several keys into the composition and a space that commits
// it; other characters are typed as plain keys.
KeyTimeline typedByPinyin(const QString &text, quint32 seed);

// Text of `length` characters: English words and sentences, or Chinese
// characters with punctuation, with a line break now and then.
QString englishText(int length, quint32 seed);
QString chineseText(int length, quint32 seed);
