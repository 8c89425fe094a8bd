// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/recordsignature.h"

#include "exchange/logincode.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QPasswordDigestor>

#include <algorithm>

namespace recordsignature {

namespace {

constexpr int kKeyBytes = 32;

}  // namespace

QByteArray mac(QByteArrayView bytes, const QByteArray &key)
{
    return QMessageAuthenticationCode::hash(bytes.toByteArray(), key, QCryptographicHash::Sha256)
            .toHex();
}

bool sameInFull(const QByteArray &a, const QByteArray &b)
{
    int difference = int(a.size() ^ b.size());
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        difference |= a.at(i) ^ b.at(i);
    return difference == 0;
}

QByteArray keyFor(const QString &loginCode, const QString &publicationId, const QString &personKey)
{
    // However the examinee typed the code (case, dashes, blanks), one key.
    const QByteArray salt = publicationId.toUtf8() + '\n' + personKey.toUtf8();
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256,
                                              logincode::canonical(loginCode).toUtf8(), salt,
                                              kIterations, kKeyBytes);
}

ResultRecord signedRecord(ResultRecord record, const QByteArray &key)
{
    auto &sections = record.sections;
    sections.erase(std::remove_if(sections.begin(), sections.end(),
                                  [](const RecordSection &section) {
                                      return section.name == sectionName();
                                  }),
                   sections.end());
    record.sections.push_back(RecordSection { sectionName(), mac(record.toRecordLines(), key) });
    return record;
}

bool verifies(QByteArrayView plainBytes, const ResultRecord &record, const QByteArray &key)
{
    if (record.sections.empty() || key.isEmpty())
        return false;
    const RecordSection &last = record.sections.back();
    if (last.name != sectionName() || last.offset > plainBytes.size())
        return false;
    return sameInFull(mac(plainBytes.first(last.offset), key), last.bytes);
}

}  // namespace recordsignature
