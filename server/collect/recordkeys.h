// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signing keys of one publication with login codes, drawn from each
// examinee's code on threads of their own: a key costs half a second, a
// class half a minute, and no window may wait for that. Every listed
// examinee's key is drawn as soon as the codes are handed over; a record
// typed with another spelling of a listed identity (the client signs with
// the identity as typed) gets its own key when first met, but only a few
// spellings per examinee: a folder full of invented departments costs a
// bounded number of derivations, and nobody off the list costs any.
// Shared by the console's collections, whatever their thread.
#include "publish/logincodes.h"
#include "exchange/resultrecord.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QWaitCondition>

#include <optional>

class RecordKeys
{
public:
    enum class Verdict {
        Signed,  // signed with the examinee's code for this publication
        Unsigned,  // no signature, a wrong one, or nobody listed is meant
        Pending,  // the key is still being drawn
    };

    // The codes of the publication, or none when they were lost: then no
    // record is taken as signed. A record of another of the exam's own
    // publications (禁止登录, then 允许登录 of it again, with the same codes)
    // is checked with that publication's key, drawn when first needed.
    RecordKeys(QString publicationId, LoginCodes codes, QStringList examPublications = {});
    // Keys still waiting are not drawn; one being drawn is finished.
    ~RecordKeys();
    RecordKeys(const RecordKeys &) = delete;
    RecordKeys &operator=(const RecordKeys &) = delete;

    const QString &publicationId() const { return m_publicationId; }

    // The record, read from these plain bytes, judged by its signature.
    // With `mayWait` a key still being drawn is waited for (never on a
    // window's thread); without, such a record is Pending.
    Verdict check(QByteArrayView plainBytes, const ResultRecord &record, bool mayWait) const;

private:
    // The key of the identity. With `mayWait` a key nobody draws yet is
    // drawn on the calling thread; without, it is drawn on the pool and
    // empty is returned until it is there.
    // Keys are kept by publication and identity (keyName).
    std::optional<QByteArray> keyOf(const QString &publication, const QString &person,
                                    const QString &code, bool mayWait) const;
    void draw(const QString &publication, const QString &person, const QString &code) const;
    static QString keyName(const QString &publication, const QString &person);

    // Whether a key (keyName) may be drawn for this spelling of the listed examinee.
    bool mayDraw(const QString &name, const QString &person, const QString &listed) const;

    // Other spellings of one listed examinee whose keys are drawn.
    static constexpr int kMaxOtherSpellings = 3;

    QString m_publicationId;
    QStringList m_examPublications;
    LoginCodes m_codes;
    mutable QMutex m_mutex;
    mutable QWaitCondition m_drawn;
    mutable QHash<QString, QByteArray> m_keys;  // by keyName; empty while drawn
    mutable QHash<QString, int> m_otherSpellings;  // by the listed examinee's personKey
    mutable QThreadPool m_pool;
};
