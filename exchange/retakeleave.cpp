// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/retakeleave.h"

#include "exchange/recordlines.h"
#include "exchange/recordsignature.h"

namespace retakeleave {

namespace {

// What is signed: the session with a word of its own in front, so the
// signature of a leave is never that of a record and the other way round.
QByteArray signedBytes(const QString &sessionId)
{
    return QByteArrayLiteral("retake\n") + sessionId.toUtf8();
}

}  // namespace

QByteArray write(const QString &sessionId, const QByteArray &key)
{
    RecordWriter lines;
    lines.text(sessionId);
    if (!key.isEmpty())
        lines.text(QString::fromLatin1(recordsignature::mac(signedBytes(sessionId), key)));
    return lines.bytes();
}

std::optional<QString> sessionOf(QByteArrayView plainBytes, const QByteArray &key)
{
    const RecordReader reader(plainBytes);
    const std::optional<QString> session = reader.text(0);
    if (!session || session->isEmpty())
        return std::nullopt;
    if (key.isEmpty())
        return session;
    const std::optional<QString> signature = reader.text(1);
    if (!signature
        || !recordsignature::sameInFull(recordsignature::mac(signedBytes(*session), key),
                                        signature->toLatin1()))
        return std::nullopt;
    return session;
}

}  // namespace retakeleave
