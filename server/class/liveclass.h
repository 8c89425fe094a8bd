// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class as the examiner sees it during the exam: each examinee's state,
// progress and the marks on doubtful results, built from a collection, the
// class list when one is loaded, and the plausibility check. No widgets.
#include "class/answercheck.h"
#include "class/classroster.h"
#include "class/plausibility.h"
#include "collect/attendance.h"
#include "collect/resultcollector.h"
#include "collect/resultstore.h"
#include "collect/rowmarks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <optional>

// A row of the grid: the result, if any, and what the console sees of it.
struct ClassViewRow : ResultCore, RowMarks
{
    bool hasRecord = false;  // false: listed in the class list, not logged in

    friend bool operator==(const ClassViewRow &a, const ClassViewRow &b)
    {
        return static_cast<const ResultCore &>(a) == b && static_cast<const RowMarks &>(a) == b
                && a.hasRecord == b.hasRecord;
    }
    friend bool operator!=(const ClassViewRow &a, const ClassViewRow &b) { return !(a == b); }

    // What the export and the archive say of the row: its doubts, then
    // the results set aside.
    QStringList remarks() const { return doubts + setAside; }
};

// How many people are logged in, typing and finished, each counted once
// however many rows they have; rows that are not their examinee's count
// for nobody. Who came and who sat is the exam's attendance.
struct ClassCounts
{
    int loggedIn = 0;
    int typing = 0;
    int finished = 0;
    Attendance people;
};

// A record's state: its phase when it has progress lines; otherwise a time
// of 0 is 未开始 (the record written at login) and any other 已交卷.
ExamineeState stateOf(const ResultRecord &record);

class LiveClass
{
    Q_DECLARE_TR_FUNCTIONS(LiveClass)
public:
    // Marks the shown rows against the list and adds its absentees.
    void setRoster(std::optional<ClassRoster> roster);
    const std::optional<ClassRoster> &roster() const { return m_roster; }

    // Rows from a collection, ranked as the results table is: speed highest
    // first, equal speeds in collection order; then listed examinees
    // without a record, in list order. Kept rows show their last figures;
    // those whose file is gone are marked. A session whose records stopped
    // unfinished before `now` with its exam time over shows as 中断; a
    // resumed one says when in its note. A retake shows its own state with
    // the result set aside beside it; a row kept from before the retake
    // shows the set-aside figures and so is in doubt.
    void update(const QVector<CollectedResult> &results, const ExamFacts &facts,
                const QVector<KeptRow> &kept = {}, const QVector<SessionEntry> &sessions = {},
                const QDateTime &now = QDateTime::currentDateTimeUtc());
    // Rows from the stored table (the console's start-up), each with the
    // marks it was last shown with; a row whose figures changed since, or
    // that has none kept, takes its state from its time, without marks.
    void showStored(const QVector<ResultRow> &rows, const QVector<MarkedRow> &marked = {});
    // A new exam.
    void clear();

    const QVector<ClassViewRow> &rows() const { return m_rows; }
    // The rows with a record as shown, without the class list's marks (the
    // list is applied again when it is loaded): what a restart shows again.
    QVector<MarkedRow> markedRows() const;
    ClassCounts counts() const;
    // The collected record of the row with this recno; null for a row kept
    // without its file, and for one not collected.
    const CollectedResult *resultOf(qint32 recNo) const;
    const ClassViewRow *rowOf(qint32 recNo) const;
    // For the export: the wrong characters of each row with an answer sheet, by recno.
    QHash<qint32, qint32> wrongCountsByRecNo() const;

private:
    void markAgainstRoster();
    // The row's identity in the list's spelling.
    void showAsListed(ClassViewRow &row, const RosterEntry &entry) const;

    std::optional<ClassRoster> m_roster;
    PlausibilityCheck m_check;
    QVector<CollectedResult> m_results;  // of the last collection, recno = index + 1
    QVector<ClassViewRow> m_recorded;  // the rows with a record, ranked, without the list's marks
    QVector<ClassViewRow> m_rows;
};
