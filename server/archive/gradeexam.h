// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A grade-wide exam: one article sat by several classes, in several labs,
// the same morning. The kept exams with the same article text and the same
// minutes, held in the same half-day (the same date, both before noon or
// both from noon on, in the console's time), are one exam. A half-day and
// not "within N hours": a school's timetable gives a grade's exam one
// morning or one afternoon, and a fixed half-day never chains a late
// morning to an early afternoon, so every exam belongs to one grade exam.
#include <QDateTime>

namespace gradeexam {

// The half-day `when` falls in: from midnight or noon, local time, to the
// next noon or midnight (not included).
struct HalfDay
{
    QDateTime from;
    QDateTime until;
};
HalfDay halfDayOf(const QDateTime &when);

}  // namespace gradeexam
