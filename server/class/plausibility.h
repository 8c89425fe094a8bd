// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Marks on results that cannot be honest as they stand. The exchange folder
// is writable by every examinee, so a record may be forged or edited; a mark
// never drops a row, the examiner decides.
#include "collect/resultcollector.h"
#include "collect/sessionledger.h"
#include "grading/judgingstandard.h"
#include "exchange/resultrecord.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <optional>

struct ExamFacts
{
    qint32 examSeconds = 0;  // 0 when unknown
    std::optional<qint32> publishedLength;  // the exam text as the client counts it
    bool asPublished = false;  // both come from the exam as it was published
    // The published text as the client compares it, and its digest, to hold
    // answer sheets against; empty when the console kept no copy.
    QString publishedText = QString();
    QByteArray publishedDigest = QByteArray();
    JudgingStandard judging = JudgingStandard();  // as set when the records are judged
    // Published with an id (pb.txt): every client that can sit it writes the
    // progress lines, the answer sheet, the keystroke timeline and the
    // publication's section in each record.
    bool currentClients = false;
};

// Why one record's figures are impossible, one reason per mark; empty when
// none. Needs nothing but the record and the exam.
QStringList recordDoubts(const ResultRecord &record, const ExamFacts &facts);

// The bounds no honest record crosses, each one rule; empty when it holds.
namespace bounds {
// Right characters a minute beyond what a person types.
QString speedAboveCeiling(const ResultRecord &record, const ExamFacts &facts);
// Typed characters for the time used beyond what a person types, judged
// over at least this many seconds: a pinyin phrase lands several at once.
constexpr int kShortestJudgedSeconds = 10;
QString typedTooFast(const ResultRecord &record, const ExamFacts &facts);
// More typed than the typing box takes.
QString typedBeyondText(const ResultRecord &record);
// A progress line that counts more than the record's typed length.
QString progressBeyondTyped(const ResultRecord &record);
// A resume count below zero.
QString negativeResumes(const ResultRecord &record);
}  // namespace bounds

// What names a finished result set aside for a retake.
QString setAsideDoubt(const SessionEntry &entry);

class PlausibilityCheck
{
    Q_DECLARE_TR_FUNCTIONS(PlausibilityCheck)
public:
    // The client's clock and the console's may differ by a few seconds.
    static constexpr int kGraceSeconds = 10;

    // The reasons for each row, in the rows' order: what the collection
    // found (CollectedResult::doubts), the record's figures, file names that
    // another identity gives, an identity seen in several exam sessions, a
    // session whose record changed after it said finished, and sessions
    // after a finished one.
    // Records of older clients, which name no session, are remembered
    // across calls by identity.
    QVector<QStringList> check(const QVector<CollectedResult> &rows, const ExamFacts &facts,
                               const SessionLedger &sessions);
    // A new exam: what was seen of the last one is forgotten.
    void forget() { m_finished.clear(); }

private:
    QHash<QString, QByteArray> m_finished;  // identity -> figures when first seen finished
};
