// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collection of results: the result files of the exchange folder become the
// rows of the results table, in one transaction.
#include "collect/collectedrows.h"
#include "collect/recordkeys.h"
#include "collect/resultfilereader.h"
#include "collect/resultstore.h"
#include "collect/sessionledger.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

struct SkippedFile
{
    QString name;
    QString reason;
};

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

class ResultCollector
{
    Q_DECLARE_TR_FUNCTIONS(ResultCollector)
public:
    static QString scratchFileName() { return QStringLiteral("cj.zip"); }

    // With `known` the files read by earlier collections through it are not
    // read again unless their size or time changed; without, every file is.
    // With `watch` sessions are held to what a watching console would have
    // seen of them (collect/sessionrules.h).
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
    // What the folder holds now, against which the last table's rows are kept.
    struct RowsNow
    {
        QSet<QString> collected;  // examinees with a signed row now
        QSet<QString> earlierExaminees;  // examinees with a file of an earlier exam
        QVector<ResultRow> notSigned;  // the rows of files nobody signed
    };
    // The rows of the last table whose examinees have no row in `rows`
    // now, appended to it as kept rows (report.sessions must be set).
    QString keepEarlierRows(QVector<ResultRow> &rows, const RowsNow &now, CollectionReport &report);

    QString m_exchangeFolder;
    QString m_applicationFolder;
    ResultStore &m_store;
    KnownResultFiles m_ownKnown;
    KnownResultFiles &m_known;
    CollectionWatch *m_watch;
    std::shared_ptr<const RecordKeys> m_keys;
    bool m_mayWaitForKeys = false;
};

// The examiner's summary of the files a collection left out; empty when none.
QString skippedFilesMessage(const QVector<SkippedFile> &skipped);
