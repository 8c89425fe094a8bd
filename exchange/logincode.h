// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form of a login code, shared by the console that draws the codes and
// the client that takes them. A code is nine signs drawn at random from an
// alphabet of 23 (23^9 > 2^40 codes) and a tenth that checks them: the sum
// of each sign's value times its place (1 to 10) is a multiple of 23.
// Because 23 is prime and the places differ, any one wrong sign and any two
// neighbours swapped break the sum, so the client refuses such a code
// before it signs a record with it. Codes of six signs without a check,
// kept from an earlier version, are still taken as they are.
#include <QString>

namespace logincode {

// Signs nobody mistakes on a printed slip. 2, 8 and U stand alone: Z, B
// and V typed for them are read as them; 0/O/D/Q, 1/I/L/J, 5/S are not used.
inline QString alphabet()
{
    return QStringLiteral("2346789ACEFGHKMNPRTUWXY");
}
constexpr int kDrawnSigns = 9;
constexpr int kLength = kDrawnSigns + 1;
// Codes drawn by an earlier version: six signs of this alphabet, no check.
constexpr int kEarlierLength = 6;
inline QString earlierAlphabet()
{
    return QStringLiteral("34679ACEFGHKMNPRTWXY");
}

// A new code with its check sign, from the system's secure random source.
QString draw();

// The code as typed, reduced to its signs: full-width forms as plain ones,
// capitals, blanks and dashes between the groups dropped, Z/B/V as 2/8/U.
// Keys are derived from this form, so every way of typing one code
// derives the same key.
QString canonical(const QString &typed);

// Why the typed code cannot be one this system handed out; empty when it can.
QString problemOf(const QString &typed);

// The code as printed on a slip: groups of three, the last of four.
QString printed(const QString &code);

}  // namespace logincode
