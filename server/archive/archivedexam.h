// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the archive keeps of one exam: the sitting and its final rows.
#include "collect/attendance.h"
#include "collect/resultcore.h"
#include "grading/gradingscale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// A result as kept, with its state and marks when the exam was kept.
struct ArchivedRow : ResultCore
{
    Q_DECLARE_TR_FUNCTIONS(ArchivedRow)

public:
    ExamineeState state = ExamineeState::Absent;
    QStringList doubts;  // the reasons a row is doubtful, one each

    // Listed and never logged in: kept without figures.
    bool absent() const { return state == ExamineeState::Absent; }
    // Started: typing, handed in or stopped unfinished.
    bool sat() const { return presenceOf(state) == Presence::Sat; }
    bool finished() const { return state == ExamineeState::Finished; }
    // 缺考, 已交卷 ...: the state as the record of an exam words it.
    QString stateWord() const { return keptStateText(state); }
    // The 状态 cell, as the class grid words it.
    QString shownState() const { return ::shownState(stateWord(), !doubts.isEmpty()); }
    // The doubts in one line, as the reports and the export show them.
    QString doubtsLine() const { return doubts.join(QStringLiteral("；")); }

    friend bool operator==(const ArchivedRow &a, const ArchivedRow &b)
    {
        return static_cast<const ResultCore &>(a) == b && a.state == b.state
                && a.doubts == b.doubts;
    }
};

struct ExamSitting
{
    // The same exam always gets the same key, so keeping it twice keeps one copy.
    QString key;
    // The publication it was published as; empty for an exam published
    // without one. Kept once per publication, however its rows changed.
    QString publication;
    QDateTime openedAt;  // when login opened; invalid when not known
    QDateTime closedAt;  // when login closed; invalid when not known
    QDateTime archivedAt;
    QString articleName;
    QString articleText;  // as published
    qint16 examMinutes = 0;
    QString roster;  // the class list, one "部门\t考号\t姓名" line per examinee
    GradingScale scale = GradingScale::standard();  // the scale the exam is graded with
    QString lab;  // 机房: the lab whose console kept it
    QString teacher;  // 教师
    // In a school archive the login role of the lab that kept it, whose
    // alone it is to change or delete; empty in a file.
    QString labRole;

    // When the exam was held: when login opened, else when it was kept.
    QDateTime heldAt() const { return openedAt.isValid() ? openedAt : archivedAt; }
};

struct ArchivedExam
{
    qint64 id = 0;
    ExamSitting sitting;
    QVector<ArchivedRow> rows;  // ranked
};

// A read from the archive: the value, or why there is none.
template <typename T>
struct ArchiveRead
{
    std::optional<T> value;
    QString problem;
};
