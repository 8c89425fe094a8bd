// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/attendance.h"

#include <algorithm>

Presence presenceOf(ExamineeState state)
{
    switch (state) {
    case ExamineeState::Absent:
        return Presence::Absent;
    case ExamineeState::Waiting:
        return Presence::NotStarted;
    case ExamineeState::Typing:
    case ExamineeState::Finished:
    case ExamineeState::Interrupted:
        return Presence::Sat;
    }
    return Presence::NotStarted;
}

Attendance &Attendance::operator+=(const Attendance &other)
{
    absent += other.absent;
    notStarted += other.notStarted;
    sat += other.sat;
    return *this;
}

QString Attendance::line(bool listed) const
{
    if (!listed)
        return tr("实考 %1人").arg(sat);
    return tr("应考 %1人，实考 %2人，未开始 %3人，缺考 %4人")
            .arg(expected())
            .arg(sat)
            .arg(notStarted)
            .arg(absent);
}

AttendanceTally::AttendanceTally(std::optional<QSet<QString>> listed) : m_listed(std::move(listed))
{
}

void AttendanceTally::add(const QString &person, Presence presence)
{
    if (m_listed && !m_listed->contains(person))
        return;
    const auto known = m_people.find(person);
    if (known == m_people.end())
        m_people.insert(person, presence);
    else if (*known != Presence::Absent)
        *known = presence == Presence::Absent ? presence : std::max(*known, presence);
}

Attendance AttendanceTally::counts() const
{
    Attendance counts;
    for (const Presence presence : m_people) {
        counts.absent += presence == Presence::Absent;
        counts.notStarted += presence == Presence::NotStarted;
        counts.sat += presence == Presence::Sat;
    }
    return counts;
}
