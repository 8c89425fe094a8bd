// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the console tells whether two typed identities are the same examinee.
// Examinees type their exam number and name on a classroom PC in any input
// mode: "a2026002" and "A2026002", "２０２６００３" from a Chinese input method
// in full-width mode, or a stray blank at the end are the same person. The
// records keep what was typed; only comparisons go through these keys.
#include <QString>

namespace identity {

// The text as compared: in Unicode's compatibility normal form (NFKC:
// full-width letters, digits and signs as their ASCII forms, the
// ideographic space a blank), blanks around it dropped, letters in one case.
QString matchKey(const QString &text);

// One key for department, exam number and name together.
QString personKey(const QString &department, const QString &examNumber, const QString &name);

// The three exactly as typed, together: one person's spellings differ here.
QString spelling(const QString &department, const QString &examNumber, const QString &name);

}  // namespace identity
