// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the archive keeps of one exam: the sitting and its final rows.
#include "grading/gradingscale.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

struct ArchivedRow
{
    QString department;
    QString examNumber;
    QString name;
    double speed = 0;
    QString accuracyLine;  // as the client wrote it
    qint16 timePass = 0;
    qint32 recNo = 0;
    QString state;  // 已交卷, 答题中 ...
    QString doubts;  // the reasons a row is doubtful, joined by "；"

    // The accuracy line as a number; 0 when it does not read as one.
    double accuracy() const;

    friend bool operator==(const ArchivedRow &a, const ArchivedRow &b)
    {
        return a.department == b.department && a.examNumber == b.examNumber && a.name == b.name
                && a.speed == b.speed && a.accuracyLine == b.accuracyLine
                && a.timePass == b.timePass && a.recNo == b.recNo && a.state == b.state
                && a.doubts == b.doubts;
    }
};

struct ExamSitting
{
    // The same exam always gets the same key, so keeping it twice keeps one copy.
    QString key;
    QDateTime openedAt;  // when login opened; invalid when not known
    QDateTime closedAt;  // when login closed; invalid when not known
    QDateTime archivedAt;
    QString articleName;
    QString articleText;  // as published
    qint16 examMinutes = 0;
    QString roster;  // the class list, one "部门\t考号\t姓名" line per examinee
    GradingScale scale = GradingScale::standard();  // the scale the exam is graded with
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
