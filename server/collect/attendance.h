// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who of an exam's examinees came and who sat, counted one way for the
// class grid, the statistics, the reports and the term workbook:
// 应考 the listed, 缺考 the listed who never logged in, 未开始 those who
// logged in and never started, 实考 those who started (typing, handed in
// or stopped unfinished). Each person counts once, however many rows.
#include "collect/resultcore.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

enum class Presence { Absent, NotStarted, Sat };

Presence presenceOf(ExamineeState state);

struct Attendance
{
    Q_DECLARE_TR_FUNCTIONS(Attendance)

public:
    int absent = 0;
    int notStarted = 0;
    int sat = 0;

    int expected() const { return absent + notStarted + sat; }
    Attendance &operator+=(const Attendance &other);
    // "应考 6人，实考 3人，未开始 1人，缺考 2人" with a class list; without one
    // only those who sat are known for sure: "实考 3人".
    QString line(bool listed) const;

    friend bool operator==(const Attendance &a, const Attendance &b)
    {
        return a.absent == b.absent && a.notStarted == b.notStarted && a.sat == b.sat;
    }
};

// Counts people by their rows, under identity::personKey. A row of 缺考 is
// the class list's word that its examinee never logged in as themself: the
// other rows under that name are someone else's and do not make the
// examinee present.
class AttendanceTally
{
public:
    // With a class list only its people are counted: someone not on it was
    // never expected, whatever they typed.
    explicit AttendanceTally(std::optional<QSet<QString>> listed = std::nullopt);

    void add(const QString &person, Presence presence);
    Attendance counts() const;

private:
    std::optional<QSet<QString>> m_listed;
    QHash<QString, Presence> m_people;
};
