// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading one result file of the exchange folder as a record and judging
// it: its shape and names, its signature, and what its texts show. A file a
// collection has judged is not read again until it or the judging changes.
#include "exchange/resultrecord.h"
#include "collect/recordkeys.h"
#include "collect/resultfiles.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// One result file that was read as a record.
struct CollectedFile
{
    QString name;
    ResultRecordReading reading;  // always ok()
    QByteArray localName = QByteArray();  // the name as the file system has it
};

// What the console drew from a record's texts (the answer sheet's typed
// text and the sections after it) on the thread that read the file: a
// collection keeps these figures and lets the texts go, or a folder flooded
// with large files would fill the memory.
struct TextFindings
{
    QStringList doubts;
    std::optional<qint32> wrongCount;  // of a sheet scored again against the exam
    std::optional<double> lastMinuteSpeed;
};

// Examines a record's texts. `basis` names what else the findings depend
// on (the exam they were held against): a file examined on another basis
// is read and examined again.
struct TextExaminer
{
    QByteArray basis;
    std::function<TextFindings(const ResultRecord &)> examine;
};

// A result file as a collection left it: its size and modification time
// when read, and the record or why it was skipped.
struct KnownResultFile
{
    qint64 size = -1;
    qint64 modified = 0;
    ResultRecordReading reading;  // ok() when it was read as a record
    QString problem;  // otherwise why it was skipped
    // Its signature, judged for this publication (empty without codes).
    RecordKeys::Verdict signature = RecordKeys::Verdict::Signed;
    QString judgedFor;
    std::optional<TextFindings> findings;  // with the texts dropped from `reading`
    QByteArray basis;  // the examiner's, when examined
};
// By the name as the file system has it.
using KnownResultFiles = QHash<QByteArray, KnownResultFile>;

// Why a record cannot be an examinee's, or empty: name fields longer than
// any real name or holding control characters (NUL included).
QString implausibleNameProblem(const ResultRecord &record);

class ResultFileReader
{
public:
    // No real department, exam number or name comes near this.
    static constexpr int kMaxNameChars = 100;
    // Every line of a real record is far shorter.
    static constexpr int kMaxLineBytes = 1024;

    // With keys, every record's signature is judged; a key still being
    // drawn is waited for only with `mayWaitForKeys`. With an `examiner`
    // each record's texts are examined as it is read and then let go.
    ResultFileReader(const ResultFileFolder &folder, std::shared_ptr<const RecordKeys> keys,
                     bool mayWaitForKeys, const TextExaminer &examiner);

    // The file as `known` has it when neither the file (its size and time)
    // nor the judging changed since; otherwise it is read anew. `remember`
    // is false when it is not to be known next time: it could not be opened
    // or read, or its key was still being drawn, and is tried again.
    KnownResultFile readOrRecall(const ResultFileFolder::Entry &entry,
                                 const KnownResultFiles &known, bool &remember);
    // The unscrambled bytes of the last file read anew; null when none was.
    const QByteArray &lastPlain() const { return m_lastPlain; }

private:
    KnownResultFile read(const ResultFileFolder::Entry &entry, bool &remember);

    const ResultFileFolder &m_folder;
    std::shared_ptr<const RecordKeys> m_keys;
    bool m_mayWaitForKeys;
    const TextExaminer &m_examiner;
    QByteArray m_lastPlain;
};

// The record of the file named as the file system has it, read whole,
// texts and all; not ok() when the file is gone or no longer a record.
ResultRecordReading readNamedResultFile(const ResultFileFolder &folder,
                                        const QByteArray &localName);

// The record of a collected file read again whole (a collection may have
// let its texts go).
ResultRecordReading readCollectedFile(const QString &exchangeFolder, const CollectedFile &file);
