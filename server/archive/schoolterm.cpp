// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/schoolterm.h"

namespace {

constexpr int kYearStartMonth = 8;  // August
constexpr int kSecondTermMonth = 2;  // February

}  // namespace

SchoolTerm SchoolTerm::of(const QDate &day)
{
    if (day.month() >= kYearStartMonth)
        return { day.year(), false };
    if (day.month() >= kSecondTermMonth)
        return { day.year() - 1, true };
    // January ends the first term of the year that started the August before.
    return { day.year() - 1, false };
}

QDate SchoolTerm::firstDay() const
{
    return m_second ? QDate(m_yearStart + 1, kSecondTermMonth, 1)
                    : QDate(m_yearStart, kYearStartMonth, 1);
}

QDate SchoolTerm::lastDay() const
{
    return m_second ? QDate(m_yearStart + 1, kYearStartMonth, 1).addDays(-1)
                    : QDate(m_yearStart + 1, kSecondTermMonth, 1).addDays(-1);
}

SchoolTerm SchoolTerm::previous() const
{
    return m_second ? SchoolTerm(m_yearStart, false) : SchoolTerm(m_yearStart - 1, true);
}

QString SchoolTerm::name() const
{
    return tr("%1-%2学年%3")
            .arg(m_yearStart)
            .arg(m_yearStart + 1)
            .arg(m_second ? tr("第二学期") : tr("第一学期"));
}
