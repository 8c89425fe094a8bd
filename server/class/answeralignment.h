// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The typed text aligned against the exam text with the fewest changes, so
// that an extra or a missing character shows as one slip where the
// position-by-position comparison sees every later position wrong. Only
// information for the examiner: the figures of record stay the compared ones.
#include <QString>

#include <vector>

class AnswerAlignment
{
public:
    enum class SlipKind { Extra, Missing };
    // One run of extra or missing characters with aligned typing after it.
    struct Slip
    {
        SlipKind kind = SlipKind::Extra;
        int targetPosition = 0;  // where in the exam text, from 0
        QString text;  // what was typed extra or left out

        friend bool operator==(const Slip &a, const Slip &b)
        {
            return a.kind == b.kind && a.targetPosition == b.targetPosition && a.text == b.text;
        }
    };

    // How far the typing may run ahead of or behind the exam text and still
    // be followed; it bounds the work to this many cells per typed character,
    // twice over.
    static constexpr int kWidestShift = 32;

    // The untyped rest of the target costs nothing: typing may stop anywhere.
    AnswerAlignment(QStringView target, QStringView typed);

    // In the order they were typed.
    const std::vector<Slip> &slips() const { return m_slips; }
    // Typed characters aligned with their own.
    int rightCount() const { return m_rightCount; }
    // Wrong, extra and missing characters up to where the typing stopped.
    int errorCount() const { return m_errorCount; }

private:
    std::vector<Slip> m_slips;
    int m_rightCount = 0;
    int m_errorCount = 0;
};
