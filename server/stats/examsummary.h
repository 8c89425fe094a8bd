// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Kept exams in brief: a line of the list of exams, and an examinee's
// history, from the rows as the archive stores them.
#include "archive/archivedexam.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// One line of the list of kept exams.
struct ExamSummary
{
    qint64 id = 0;
    QDateTime when;  // login opened, else when the exam was kept
    QString articleName;
    qint16 examMinutes = 0;
    int examinees = 0;  // those who sat
    double meanSpeed = 0;  // of those who sat
    double passRate = 0;  // 0 to 1, by the exam's own scale
    QStringList departments;  // as they first appear
    QString lab;  // 机房 that kept it
    QString teacher;
    QString labRole;  // the login role that kept it, in a school archive
};

// One exam of an examinee's history.
struct HistoryPoint
{
    qint64 examId = 0;
    QDateTime when;
    QString articleName;
    double speed = 0;
    double accuracy = 0;
    QString grade;  // by the exam's own scale; empty when not started
};

// Whether the exam not yet kept is one to list: login was opened for it or
// someone logged in. A class list alone, with nothing published, is none.
bool underWay(const ArchivedExam &current);
// The list line of an exam from its rows.
ExamSummary summaryOf(const ArchivedExam &exam);
// The list lines of the exams read, in their order; the read's problem when it failed.
ArchiveRead<QVector<ExamSummary>> summariesOf(const ArchiveRead<QVector<ArchivedExam>> &exams);
// An examinee's history from the exams they sat, each with their rows only:
// a point per row, in the exams' order.
ArchiveRead<QVector<HistoryPoint>> historyOf(const ArchiveRead<QVector<ArchivedExam>> &sat);
