// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/recordkeys.h"

#include "identity.h"
#include "recordsignature.h"

RecordKeys::RecordKeys(QString publicationId, LoginCodes codes)
    : m_publicationId(std::move(publicationId)), m_codes(std::move(codes))
{
    QMutexLocker lock(&m_mutex);
    for (const CodedExaminee &examinee : m_codes.examinees()) {
        const QString person =
                identity::personKey(examinee.department, examinee.examNumber, examinee.name);
        if (m_keys.contains(person))
            continue;
        // An empty key marks one being drawn, so nobody draws it twice.
        m_keys.insert(person, QByteArray());
        m_pool.start([this, person, code = examinee.code] { draw(person, code); });
    }
}

RecordKeys::~RecordKeys()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void RecordKeys::draw(const QString &person, const QString &code) const
{
    const QByteArray key = recordsignature::keyFor(code, m_publicationId, person);
    QMutexLocker lock(&m_mutex);
    m_keys.insert(person, key);
    m_drawn.wakeAll();
}

std::optional<QByteArray> RecordKeys::keyOf(const QString &person, const QString &code,
                                            bool mayWait) const
{
    QMutexLocker lock(&m_mutex);
    for (auto known = m_keys.constFind(person); known != m_keys.cend();
         known = m_keys.constFind(person)) {
        if (!known->isEmpty())
            return *known;
        if (!mayWait)
            return std::nullopt;
        m_drawn.wait(&m_mutex);
    }
    m_keys.insert(person, QByteArray());
    if (!mayWait) {
        m_pool.start([this, person, code] { draw(person, code); });
        return std::nullopt;
    }
    lock.unlock();
    draw(person, code);
    lock.relock();
    return m_keys.value(person);
}

bool RecordKeys::mayDraw(const QString &person, const QString &listed) const
{
    QMutexLocker lock(&m_mutex);
    if (person == listed || m_keys.contains(person))
        return true;
    int &drawn = m_otherSpellings[listed];
    if (drawn >= kMaxOtherSpellings)
        return false;
    ++drawn;
    return true;
}

RecordKeys::Verdict RecordKeys::check(QByteArrayView plainBytes, const ResultRecord &record,
                                      bool mayWait) const
{
    const CodedExaminee *listed =
            m_codes.examineeOf(record.department, record.examNumber, record.name);
    const QString person = identity::personKey(record.department, record.examNumber, record.name);
    if (!listed
        || !mayDraw(person,
                    identity::personKey(listed->department, listed->examNumber, listed->name)))
        return Verdict::Unsigned;
    const auto key = keyOf(person, listed->code, mayWait);
    if (!key)
        return Verdict::Pending;
    return recordsignature::verifies(plainBytes, record, *key) ? Verdict::Signed
                                                               : Verdict::Unsigned;
}
