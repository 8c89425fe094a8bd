// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live comparison of the typed text with the target (by the rule both
// programs share) and the paging rules of the target display. No widgets:
// the typing window hands in what the typing box holds and shows what comes
// out.
#include "exchange/answercomparison.h"

#include <QString>

class TypingSession
{
public:
    // A display line counts as 34 characters for paging; a page shows 11
    // lines, and the scroll bar pages by 10.
    static constexpr int kLineChars = 34;
    static constexpr int kPageLines = 11;
    static constexpr int kPageStep = 10;

    enum class Step { Continued, Recomputed };

    using TypedFrom = AnswerComparison::TypedFrom;

    explicit TypingSession(QString targetText = QString());

    const AnswerComparison &comparison() const { return m_comparison; }
    const QString &targetText() const { return m_comparison.targetText(); }
    int targetLen() const { return m_comparison.targetLen(); }

    int typedLen() const { return m_typedLen; }
    int comparedLen() const { return m_comparedLen; }
    int rightCount() const { return m_comparison.rightCount(); }
    int errorCount() const { return m_comparison.errorCount(); }
    const QString &writeText() const { return m_comparison.writeText(); }
    const QString &errorText() const { return m_comparison.errorText(); }

    // Runs after every change of the typing box. typedLen, caret and
    // changedFrom (the first position the change touched) count each line
    // break as two characters. Positions from changedFrom on are compared
    // again, earlier ones keep their verdict. The step is Recomputed when
    // the change was not at the end of the typed text (or it became
    // shorter) at a place within the target, so the page stays where it is.
    Step compareTyped(int typedLen, int caret, int changedFrom, const TypedFrom &typedFrom);

    // What a layer shows for a page: the layer string from the page's first
    // display line on; empty when the string is shorter.
    static QString fromTopLine(const QString &layer, int topLine);

    // Largest top line of the scroll bar: the target's display lines,
    // rounded halves to even, less one page; never below 0.
    static int scrollMax(int targetLen);

    // The top line after typing reached typedLen: when the typing position
    // has run off the bottom of the page, the line being typed becomes the
    // first of the page (within the scroll range); when the page lies below
    // the typing position, it comes back to it.
    static int followCaret(int typedLen, int topLine, int scrollMax);

private:
    AnswerComparison m_comparison;
    int m_typedLen = 0;
    int m_comparedLen = 0;
};
