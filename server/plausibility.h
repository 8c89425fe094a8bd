#pragma once
// Marks on results that cannot be honest as they stand. The exchange folder
// is writable by every examinee, so a record may be forged or edited; a mark
// never drops a row, the examiner decides.
#include "resultcollector.h"
#include "resultrecord.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <optional>

struct ExamFacts
{
    qint32 examSeconds = 0;                // 0 when unknown
    std::optional<qint32> publishedLength; // the exam text as the client counts it
};

// Why one record's figures are impossible, one reason per mark; empty when
// none. Needs nothing but the record and the exam.
QStringList recordDoubts(const ResultRecord &record, const ExamFacts &facts);

class PlausibilityCheck
{
public:
    // The client's clock and the console's may differ by a few seconds.
    static constexpr int kGraceSeconds = 10;

    // The reasons for each row, in the rows' order: the record's figures,
    // file names that another identity gives, an identity with files of
    // several exam sessions, and a record that changed after it said
    // finished. A finished record is remembered across calls.
    QVector<QStringList> check(const QVector<CollectedResult> &rows, const ExamFacts &facts);
    // A new exam: finished records of the last one are forgotten.
    void forget() { m_finished.clear(); }

private:
    QHash<QString, QByteArray> m_finished;  // row key -> figures when first seen finished
};
