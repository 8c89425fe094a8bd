// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/recordkeys.h"

#include "exchange/identity.h"
#include "exchange/publication.h"
#include "exchange/recordsignature.h"

RecordKeys::RecordKeys(QString publicationId, LoginCodes codes, QStringList examPublications)
    : m_publicationId(std::move(publicationId)),
      m_examPublications(std::move(examPublications)),
      m_codes(std::move(codes))
{
    QMutexLocker lock(&m_mutex);
    for (const CodedExaminee &examinee : m_codes.examinees()) {
        const QString person =
                identity::personKey(examinee.department, examinee.examNumber, examinee.name);
        const QString name = keyName(m_publicationId, person);
        if (m_keys.contains(name))
            continue;
        // An empty key marks one being drawn, so nobody draws it twice.
        m_keys.insert(name, QByteArray());
        m_pool.start([this, person, code = examinee.code] { draw(m_publicationId, person, code); });
    }
}

QString RecordKeys::keyName(const QString &publication, const QString &person)
{
    return publication + QChar(0) + person;
}

RecordKeys::~RecordKeys()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void RecordKeys::draw(const QString &publication, const QString &person, const QString &code) const
{
    const QByteArray key = recordsignature::keyFor(code, publication, person);
    QMutexLocker lock(&m_mutex);
    m_keys.insert(keyName(publication, person), key);
    m_drawn.wakeAll();
}

std::optional<QByteArray> RecordKeys::keyOf(const QString &publication, const QString &person,
                                            const QString &code, bool mayWait) const
{
    const QString name = keyName(publication, person);
    QMutexLocker lock(&m_mutex);
    for (auto known = m_keys.constFind(name); known != m_keys.cend();
         known = m_keys.constFind(name)) {
        if (!known->isEmpty())
            return *known;
        if (!mayWait)
            return std::nullopt;
        m_drawn.wait(&m_mutex);
    }
    m_keys.insert(name, QByteArray());
    if (!mayWait) {
        m_pool.start([this, publication, person, code] { draw(publication, person, code); });
        return std::nullopt;
    }
    lock.unlock();
    draw(publication, person, code);
    lock.relock();
    return m_keys.value(name);
}

bool RecordKeys::mayDraw(const QString &name, const QString &person, const QString &listed) const
{
    QMutexLocker lock(&m_mutex);
    if (person == listed || m_keys.contains(name))
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
    // A record is signed for the publication it names; only the exam's own
    // are worth a key.
    const QString named = publicationOf(record.sections);
    const QString publication = m_examPublications.contains(named) ? named : m_publicationId;
    if (!listed
        || !mayDraw(keyName(publication, person), person,
                    identity::personKey(listed->department, listed->examNumber, listed->name)))
        return Verdict::Unsigned;
    const auto key = keyOf(publication, person, listed->code, mayWait);
    if (!key)
        return Verdict::Pending;
    return recordsignature::verifies(plainBytes, record, *key) ? Verdict::Signed
                                                               : Verdict::Unsigned;
}
