// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A school term, the one rule for the whole console: a school year starts
// on 1 August; its 第一学期 runs from 1 August to 31 January, its 第二学期
// from 1 February to 31 July.
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>

class SchoolTerm
{
    Q_DECLARE_TR_FUNCTIONS(SchoolTerm)
public:
    // The term a day falls in.
    static SchoolTerm of(const QDate &day);

    QDate firstDay() const;
    QDate lastDay() const;
    // From the first day's midnight to the midnight after the last day, local time.
    QDateTime start() const { return firstDay().startOfDay(); }
    QDateTime end() const { return lastDay().addDays(1).startOfDay(); }
    SchoolTerm previous() const;
    // "2025-2026学年第一学期".
    QString name() const;

    friend bool operator==(const SchoolTerm &a, const SchoolTerm &b)
    {
        return a.m_yearStart == b.m_yearStart && a.m_second == b.m_second;
    }

private:
    SchoolTerm(int yearStart, bool second) : m_yearStart(yearStart), m_second(second) { }

    int m_yearStart = 0;  // 2025 for the school year 2025-2026
    bool m_second = false;
};
