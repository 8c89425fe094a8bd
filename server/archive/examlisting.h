// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kept exams listed, filtered by the database: by lab, teacher, class,
// term and an article or a day, newest first, at most kMostListed of them,
// each with its rows; and the labs, teachers, classes and terms there are
// to filter by. A school archive holds every lab's exams: nothing is read
// beyond what one filter lists.
#include "archive/archivedatabase.h"
#include "archive/archivedexam.h"
#include "archive/schoolterm.h"

#include <QStringList>

struct ExamFilter
{
    QString lab;  // empty: every lab
    QString teacher;
    QString department;  // exams this class sat
    std::optional<SchoolTerm> term;
    // Part of the article's name, or a day as "2026", "2026-03" or "2026-03-02".
    QString search;
};

// What there is to filter by, each sorted; the terms newest first.
struct ExamFilterChoices
{
    QStringList labs;
    QStringList teachers;
    QStringList departments;
    QVector<SchoolTerm> terms;
};

struct ListedExams
{
    QVector<ArchivedExam> exams;  // newest first
    bool more = false;  // more matched than are listed
};

class ExamListing : public ArchiveQuery
{
public:
    static constexpr int kMostListed = 500;

    using ArchiveQuery::ArchiveQuery;

    // Two queries: the exams, then their rows.
    ArchiveRead<ListedExams> exams(const ExamFilter &filter);
    ArchiveRead<ExamFilterChoices> choices();
    // The classes that sat an exam held in `term`, sorted; only that term's rows are read.
    ArchiveRead<QStringList> classesIn(const SchoolTerm &term);
};
