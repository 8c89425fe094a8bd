// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exams in the archive: the exam under way until it is kept, keeping
// it, and reading, regrading and deleting the kept ones. Rows as stored;
// their figures and grades are the statistics' business.
#include "archive/archivedatabase.h"
#include "archive/archivedexam.h"
#include "collect/resultstore.h"

#include <QCoreApplication>

class QSqlQuery;

class ExamArchive : public ArchiveDatabase
{
    Q_DECLARE_TR_FUNCTIONS(ExamArchive)
public:
    using ArchiveDatabase::ArchiveDatabase;

    // The exam under way, until it is kept: login opened with this article
    // and time (the first opening is the exam's start), login closed. The
    // problem or empty.
    QString noteLoginOpened(const ExamSitting &published);
    QString noteLoginClosed(const QDateTime &when);
    // What was noted of the exam under way.
    ExamSitting sittingUnderWay();

    // The key of an exam: the published text's digest and the table's rows.
    static QString keyOf(const QByteArray &publishedDigest, const QVector<ResultRow> &rows);

    struct Kept
    {
        QString problem;  // empty when the exam is in the archive
        qint64 id = 0;
        bool alreadyKept = false;  // an exam with this key was there before
    };
    // Whether an exam kept in the file waits to go to the school: it does
    // once the console has a school archive; one kept before waits for the
    // examiner's word (queueKeptBefore).
    enum class Outbox { Waits, KeptBefore };
    // Keeps the exam in one transaction, which also ends the exam under way;
    // an exam whose key or publication is kept already is left as it is.
    Kept keep(const ExamSitting &sitting, const QVector<ArchivedRow> &rows,
              Outbox outbox = Outbox::Waits);

    // The kept exams with their rows, newest first.
    ArchiveRead<QVector<ArchivedExam>> exams();
    ArchiveRead<ArchivedExam> exam(qint64 id);
    // The grade-wide exam that exam `id` is part of (archive/gradeexam.h):
    // every kept exam of it, itself included, by lab.
    ArchiveRead<QVector<ArchivedExam>> gradeExamOf(qint64 id);
    // Grades a kept exam with another scale from now on; the problem or empty.
    QString regrade(qint64 id, const GradingScale &scale);
    // Why this console may not change or delete the exam: in a school
    // archive an exam is the lab's (the login role's) that kept it, and the
    // server refuses any other; empty when it may, and always in a file.
    QString changeRefused(const ExamSitting &sitting) const
    {
        return changeRefused(sitting, role(), place().isSchool());
    }
    // The same for a console logged in as `role`, to a school archive or not.
    static QString changeRefused(const ExamSitting &sitting, const QString &role, bool school);
    // Deletes an exam and its rows in one transaction; the problem or empty.
    QString remove(qint64 id);

    // The outbox to the school: the exams kept here and not yet sent,
    // oldest first; marking one sent; and putting the exams kept before
    // there was a school archive into it as `lab`'s, whatever name the
    // computer gave them then. The problem or empty.
    ArchiveRead<QVector<qint64>> waiting();
    QString markSent(qint64 id, const QDateTime &when);
    QString queueKeptBefore(const QString &lab);
    // The waiting exams become kept before there was a school archive: a
    // console without one sends nothing until the examiner asks.
    QString holdWaiting();

private:
    QString writeSitting(const ExamSitting &sitting);
    // A kept exam as `exam` reads it, its rows left out.
    ArchiveRead<ArchivedExam> examWithoutRows(qint64 id);
    // One statement with its values, in a transaction; the problem or empty.
    QString runWrite(const QString &statement, const QVariantList &values = {});
    // One column of a kept exam, in a transaction; the problem or empty.
    QString setExamValue(qint64 id, const QString &column, const QVariant &value);
    // Why a change of exam `id` found nothing to change.
    QString notChanged(qint64 id);
    // Ends the exam under way, in the transaction that keeps it.
    bool endSitting(QSqlQuery &query);
};
