// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examinee's earlier records of the exam being opened: the checkpoint
// in the working folder and the examinee's own files in the exchange folder.
// They tell whether the examinee has finished already (no second exam) or
// may continue an unfinished session after a crash. Nothing in them is
// trusted: a record counts only when it reads whole and is this examinee's
// and this exam's; a damaged or foreign one is passed over with a note.
#include "exchange/resultrecord.h"
#include "transfer/examinee.h"

#include <QCoreApplication>
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <optional>

// Where a resumed exam goes on: its furthest record, and the highest
// number among its examinee's names in the exchange folder ("~N"), so that
// a write-once service gets new names after it.
struct ResumePoint
{
    ResultRecord record;
    int newestName = 1;
};

class PriorRecords
{
    Q_DECLARE_TR_FUNCTIONS(PriorRecords)

public:
    enum class Verdict {
        Fresh,  // nothing to continue: a new session
        Resume,  // resumable() may be continued
        Finished,  // the examinee has finished this exam
    };

    // examDigest and examMinutes: the exam as downloaded (te.txt, se.dll).
    PriorRecords(const Examinee &examinee, QByteArray examDigest, qint16 examMinutes);

    // One scrambled record; `source` names it in a note.
    void take(const QByteArray &scrambled, const QString &source);
    // A record that could not be fetched whole (too large, unreadable).
    void note(const QString &source, const QString &problem);

    struct Outcome
    {
        Verdict verdict = Verdict::Fresh;
        std::optional<ResultRecord> resumeFrom;  // with Resume: the furthest record
    };
    // `retakeSession`: the finished session the examiner set aside, if any;
    // it neither refuses nor resumes.
    Outcome outcome(const QString &retakeSession = {}) const;
    // One line for the login window; empty when nothing was passed over.
    QString noteLine() const;

    static QString finishedMessage();
    static QString resumeQuestion(const ResultRecord &record);

private:
    bool ofThisPublication(const ResultRecord &record) const;

    Examinee m_examinee;
    QByteArray m_examDigest;
    qint16 m_examMinutes = 0;
    QHash<QString, ResultRecord> m_unfinished;  // session -> its furthest record
    QSet<QString> m_finished;  // sessions with a finished record
    QStringList m_passedOver;
};
