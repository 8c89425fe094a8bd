// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows a collection makes of the records it read: one row per result
// file, or one for every file of one exam session (a service that cannot
// overwrite keeps each upload of a session as a file of its own).
#include "exchange/resultrecord.h"
#include "collect/recordkeys.h"
#include "collect/resultstore.h"
#include "collect/resultfilereader.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

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
    // What the collection found wrong beyond the record itself.
    QStringList doubts = {};

    // Its row of the results table at this recno.
    ResultRow row(qint32 recNo) const;
};

class CollectedRows
{
public:
    // Adds a file read as a record (file.reading.ok()), in name order: a
    // row of its own, or the newest of its session's row when its sequence
    // number is the highest so far.
    void add(const QString &name, const QByteArray &localName, const KnownResultFile &file);
    // Takes out the rows that are not signed as their examinee's, in order.
    QVector<CollectedResult> takeUnsigned();
    QVector<CollectedResult> &results() { return m_results; }

private:
    QVector<CollectedResult> m_results;
    QHash<QString, int> m_rowOfSession;
};
