// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/recordstamp.h"

#include "exchange/recordsignature.h"

#include <QRandomGenerator>

RecordStamp::RecordStamp()
    : m_sessionId(
            QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0'))
{
}

void RecordStamp::continueSession(const QString &sessionId, qint32 sequence)
{
    m_sessionId = sessionId;
    m_sequence = sequence;
}

ResultRecord RecordStamp::next(ResultRecord record)
{
    ++m_sequence;
    return current(std::move(record));
}

ResultRecord RecordStamp::current(ResultRecord record) const
{
    record.progress = record.progress.value_or(ResultProgress {});
    record.progress->sequence = m_sequence;
    record.progress->sessionId = m_sessionId;
    // Signed last: the signature covers the stamp too.
    return m_signingKey.isEmpty() ? record
                                  : recordsignature::signedRecord(std::move(record), m_signingKey);
}
