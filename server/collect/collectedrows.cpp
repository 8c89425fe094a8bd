// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/collectedrows.h"

#include "exchange/identity.h"
#include "exchange/numbers.h"

#include <algorithm>
#include <iterator>

ResultRow CollectedResult::row(qint32 recNo) const
{
    ResultRow row;
    row.recNo = recNo;
    row.department = record.department;
    row.examNumber = record.examNumber;
    row.name = record.name;
    // The single as the client wrote it (56.1, not 56.0999984741211).
    row.speed = numbers::singleText(record.speed).toDouble();
    row.accuracyLine = accuracyLine;
    row.timePass = record.timePass;
    return row;
}

namespace {

// A session's files collapse into one row; files without progress lines
// (an older client) or with an empty session id stay rows of their own.
// The identity is part of the key so that a record claiming another's
// session never hides a row.
QString sessionKey(const ResultRecord &record, RecordKeys::Verdict signature)
{
    if (!record.progress || record.progress->sessionId.isEmpty())
        return {};
    // A record not signed by its examinee never joins, and so never
    // replaces, the records of a signed session it claims.
    const QChar trust = signature == RecordKeys::Verdict::Signed ? QChar(u'+') : QChar(u'?');
    return trust + record.progress->sessionId + QChar(0)
            + identity::personKey(record.department, record.examNumber, record.name);
}

}  // namespace

void CollectedRows::add(const QString &name, const QByteArray &localName,
                        const KnownResultFile &file)
{
    const ResultRecordReading &reading = file.reading;
    const QString key = sessionKey(*reading.record, file.signature);
    const auto row = key.isEmpty() ? m_rowOfSession.cend() : m_rowOfSession.constFind(key);
    if (row == m_rowOfSession.cend()) {
        if (!key.isEmpty())
            m_rowOfSession.insert(key, int(m_results.size()));
        m_results.append({ *reading.record,
                           reading.accuracyLine,
                           { { name, reading, localName } },
                           0,
                           0,
                           file.signature,
                           file.findings });
        return;
    }
    CollectedResult &result = m_results[*row];
    result.files.append({ name, reading, localName });
    // Equal sequence numbers: the file listed later wins.
    if (reading.record->progress->sequence >= result.record.progress->sequence) {
        result.record = *reading.record;
        result.accuracyLine = reading.accuracyLine;
        result.newest = int(result.files.size()) - 1;
        result.findings = file.findings;
    }
}

QVector<CollectedResult> CollectedRows::takeUnsigned()
{
    QVector<CollectedResult> taken;
    const auto firstUnsigned = std::stable_partition(
            m_results.begin(), m_results.end(), [](const CollectedResult &result) {
                return result.signature == RecordKeys::Verdict::Signed;
            });
    std::move(firstUnsigned, m_results.end(), std::back_inserter(taken));
    m_results.erase(firstUnsigned, m_results.end());
    m_rowOfSession.clear();
    return taken;
}
