// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collection of results: the result files of the exchange folder become the
// rows of the results table, in one transaction.
#include "resultrecord.h"
#include "collect/recordkeys.h"
#include "collect/resultfiles.h"
#include "collect/resultstore.h"
#include "collect/sessionledger.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <functional>
#include <optional>

struct SkippedFile
{
    QString name;
    QString reason;
};

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

// One row of the table: one result file, or every file of one exam session
// (a service that cannot overwrite keeps each upload of a session as a file
// of its own).
struct CollectedResult
{
    ResultRecord record;  // the newest record: the highest sequence number
    QString accuracyLine;  // that record's line 4, as written
    QVector<CollectedFile> files;  // in name order
    int newest = 0;  // index into files of the record shown
    // Sessions of its examinee after this finished one, which it stands for.
    int laterSessions = 0;
    // Where codes are required: whether its records were signed with the
    // examinee's code. Anything else is a row of its own that never stands
    // as a result.
    RecordKeys::Verdict signature = RecordKeys::Verdict::Signed;
    // Of the record shown, when its texts were examined as it was read; the
    // record then carries no texts (see readCollectedFile).
    std::optional<TextFindings> findings = std::nullopt;

    // Its row of the results table at this recno.
    ResultRow row(qint32 recNo) const;
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

// A row of the last table whose examinee has no record in the folder now:
// the row stays with its last figures until the table is cleared.
struct KeptRow
{
    ResultRow row;  // with its recno in the new table, after the collected rows
    bool fileGone = true;  // false: a file of this examinee is there but did not read
};

struct CollectionReport
{
    int rowCount = 0;
    QVector<CollectedResult> results;  // in recno order, recno = index + 1
    QVector<KeptRow> kept;  // in recno order, after the results
    QVector<SkippedFile> skipped;
    QVector<SessionEntry> sessions;  // every session of the exam so far
    QStringList notes;  // what went wrong beside the table, for the examiner
    QString problem;  // a failure of the whole collection; the table is unchanged

    bool ok() const { return problem.isEmpty(); }
};

// Since when a console's collections have followed one another without a
// gap longer than the slowest upload interval: a session that logged in
// since then cannot have escaped them.
class CollectionWatch
{
public:
    // Notes a collection at `now`; returns since when the console watched.
    QDateTime collectedAt(const QDateTime &now);

private:
    QDateTime m_since;
    QDateTime m_last;
};

// Why a record cannot be an examinee's, or empty: name fields longer than
// any real name or holding control characters (NUL included).
QString implausibleNameProblem(const ResultRecord &record);

class ResultCollector
{
public:
    static QString scratchFileName() { return QStringLiteral("cj.zip"); }
    // No real department, exam number or name comes near this.
    static constexpr int kMaxNameChars = 100;
    // Every line of a real record is far shorter.
    static constexpr int kMaxLineBytes = 1024;

    // With `known` the files read by earlier collections through it are not
    // read again unless their size or time changed; without, every file is.
    // With `watch` sessions are held to what a watching console would have
    // seen of them (collect/sessiontimeline.h).
    ResultCollector(QString exchangeFolder, QString applicationFolder, ResultStore &store,
                    KnownResultFiles *known = nullptr, CollectionWatch *watch = nullptr);

    // With keys, every record must be signed with its examinee's code; a
    // key still being drawn is waited for only with `mayWait`.
    void checkSignatures(std::shared_ptr<const RecordKeys> keys, bool mayWait);

    // Rebuilds the table from the result files (*.zip) in name order, recno
    // counting from 1; files of one exam session make one row, at the place
    // of its first file. Rows of the table whose examinee has no record
    // now are kept after them (see KeptRow). Only regular files no larger than a record can be
    // are read, never through a link; everything else is listed in
    // `skipped`. cj.zip in the application folder is left holding the
    // unscrambled copy of the last file read anew; nothing reads it, so failing
    // to write it is a note. Without the exchange folder
    // the table is left as it was. With an `examiner` each record's texts
    // are examined as its file is read and then let go: the results carry
    // the findings and figures only.
    CollectionReport collect(const TextExaminer &examiner = {});

private:
    // Reads one file; a file that could not be opened or read is not
    // remembered, so the next collection tries again.
    KnownResultFile readFile(const ResultFileFolder &folder, const ResultFileFolder::Entry &entry,
                             QByteArray &plain, bool &remember, const TextExaminer &examiner) const;

    QString m_exchangeFolder;
    QString m_applicationFolder;
    ResultStore &m_store;
    KnownResultFiles m_ownKnown;
    KnownResultFiles &m_known;
    CollectionWatch *m_watch;
    std::shared_ptr<const RecordKeys> m_keys;
    bool m_mayWaitForKeys = false;
};

// The record of a collected file read again whole, texts and all (a
// collection may have let them go); not ok() when the file is gone or no
// longer a record.
ResultRecordReading readCollectedFile(const QString &exchangeFolder, const CollectedFile &file);

// The examiner's summary of the files a collection left out; empty when none.
QString skippedFilesMessage(const QVector<SkippedFile> &skipped);
