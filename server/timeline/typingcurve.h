// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speed curve of a run: right characters per minute in steps of the
// exam clock, where the wrong ones were typed, and the pauses. Each
// character of the text as it stands at the end counts in the step it was
// typed in (a line break as two, as the score counts it), so the steps add
// up to the score's right characters; what was typed and deleted again
// counts nowhere.
#include "exchange/keytimeline.h"

#include <QString>
#include <QVector>

#include <vector>

struct CurveStep
{
    qint32 fromSecond = 0;
    double charsPerMinute = 0;  // right characters
    qint32 wrong = 0;  // wrong characters typed in the step

    friend bool operator==(const CurveStep &a, const CurveStep &b)
    {
        return a.fromSecond == b.fromSecond
                && qFuzzyCompare(a.charsPerMinute + 1, b.charsPerMinute + 1) && a.wrong == b.wrong;
    }
};

struct CurvePause
{
    qint32 fromMs = 0;
    qint32 toMs = 0;

    friend bool operator==(const CurvePause &a, const CurvePause &b)
    {
        return a.fromMs == b.fromMs && a.toMs == b.toMs;
    }
};

class TypingCurve
{
public:
    // From the events of a timeline whose edits replay. `published` is the
    // exam text as the client compares it (CR LF); without it every
    // character counts as right. `endMs`: how long the run lasted.
    TypingCurve(const KeyTimeline &timeline, const QString &published, qint32 endMs);

    qint32 endMs() const { return m_endMs; }
    // The steps from the start to the end; the last one may be shorter,
    // and its speed is per minute of the part that passed.
    QVector<CurveStep> steps(qint32 stepSeconds) const;
    // The gaps without a key or an edit of at least minSeconds, the time
    // before the first key and after the last one included.
    QVector<CurvePause> pauses(qint32 minSeconds) const;
    // Right characters per minute over the last minute before the end (over
    // all of it when shorter).
    double lastMinuteSpeed() const;

private:
    std::vector<qint32> m_rightMs;  // when each right character was typed, sorted
    std::vector<qint32> m_wrongMs;  // when each wrong one was, sorted
    std::vector<qint32> m_activeMs;  // every key and edit, sorted
    qint32 m_endMs = 0;
};

// A tick of the curve's time axis, at `minute` of the exam.
struct CurveTick
{
    double minute = 0;
    QString label;

    friend bool operator==(const CurveTick &a, const CurveTick &b)
    {
        return qFuzzyCompare(a.minute + 1, b.minute + 1) && a.label == b.label;
    }
};

struct CurveAxis
{
    QString title;
    QVector<CurveTick> ticks;  // every one labelled
};

// The time axis over the minutes from `fromMinute` to `toMinute`: ticks at
// round minutes labelled in minutes, or, on a stretch under two minutes, at
// round seconds labelled "分:秒".
CurveAxis curveAxis(double fromMinute, double toMinute);
