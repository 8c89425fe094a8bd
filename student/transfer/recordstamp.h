// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stamp of one exam session on its records: the session's id and each
// record's sequence number within it, carried after line 10. Every record
// sent gets the next number; the checkpoint carries the number of the last
// one sent, so that a resumed session numbers on from there. In an exam
// with login codes every stamped record is signed with the examinee's key.
#include "exchange/resultrecord.h"

#include <QString>

class RecordStamp
{
public:
    // A new session: a random id, no record sent yet.
    RecordStamp();

    // A resumed session goes on with its id after its last number.
    void continueSession(const QString &sessionId, qint32 sequence);
    // The key derived at login (empty: records go unsigned).
    void setSigningKey(const QByteArray &key) { m_signingKey = key; }

    QString sessionId() const { return m_sessionId; }
    qint32 sequence() const { return m_sequence; }

    // The record as the next one of this session.
    ResultRecord next(ResultRecord record);
    // The record under the number of the last one sent.
    ResultRecord current(ResultRecord record) const;

private:
    QString m_sessionId;
    qint32 m_sequence = 0;
    QByteArray m_signingKey;
};
