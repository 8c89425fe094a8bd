// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signature a record of an exam with login codes carries as its last
// section: HMAC-SHA256 over every byte before the section's name line, with
// a key drawn from the examinee's login code by PBKDF2, salted with the
// publication and the examinee's identity. The slow derivation is what
// keeps a record taken from the folder from testing codes cheaply; a
// program derives one examinee's key once and signs or checks with it.
#include "exchange/resultrecord.h"

#include <QByteArray>
#include <QString>

namespace recordsignature {

inline QString sectionName()
{
    return QStringLiteral("signature");
}

// PBKDF2 rounds: a second or so for a million guesses' worth is the point.
constexpr int kIterations = 100000;

// The key of one examinee (identity::personKey) for one publication.
QByteArray keyFor(const QString &loginCode, const QString &publicationId, const QString &personKey);

// The record with its signature as its last section (any earlier
// signature section replaced).
ResultRecord signedRecord(ResultRecord record, const QByteArray &key);

// The hex HMAC-SHA256 of the bytes under the key.
QByteArray mac(QByteArrayView bytes, const QByteArray &key);
// Whether two signatures are equal, compared in full whatever differs
// first: how long a check takes tells nothing of how much matched.
bool sameInFull(const QByteArray &a, const QByteArray &b);

// Whether the record, as read from these plain bytes, ends in a signature
// made with this key over everything before it.
bool verifies(QByteArrayView plainBytes, const ResultRecord &record, const QByteArray &key);

}  // namespace recordsignature
