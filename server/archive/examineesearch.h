// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examinees of the kept exams: those there are to pick from, and one
// examinee's every kept exam.
#include "archive/archivedatabase.h"
#include "archive/archivedexam.h"

// An examinee the archive knows: exam number and name as kept, and the
// department of their newest kept exam.
struct KnownExaminee
{
    QString examNumber;
    QString name;
    QString department;

    friend bool operator==(const KnownExaminee &a, const KnownExaminee &b)
    {
        return a.examNumber == b.examNumber && a.name == b.name && a.department == b.department;
    }
};

class ExamineeSearch : public ArchiveQuery
{
public:
    using ArchiveQuery::ArchiveQuery;

    // Every kept exam of the examinee with this exam number and name, oldest
    // first, each with the examinee's rows only.
    ArchiveRead<QVector<ArchivedExam>> history(const QString &examNumber, const QString &name);
    // Every examinee of the kept exams, once each, by exam number, then name.
    ArchiveRead<QVector<KnownExaminee>> examinees();
};
