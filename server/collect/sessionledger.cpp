// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/sessionledger.h"

#include "collect/resultcollector.h"
#include "collect/sessionrules.h"
#include "exchange/identity.h"
#include "exchange/publication.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>

namespace {

QString personOf(const ResultRecord &record)
{
    return identity::personKey(record.department, record.examNumber, record.name);
}

QString spellingOf(const ResultRecord &record)
{
    return identity::spelling(record.department, record.examNumber, record.name);
}

bool typedAs(const SessionEntry &entry, const std::optional<QString> &spelling)
{
    return !spelling || entry.spelling.isEmpty() || entry.spelling == *spelling;
}

bool hasSession(const ResultRecord &record)
{
    return record.progress && !record.progress->sessionId.isEmpty();
}

}  // namespace

QByteArray finishedFigures(const ResultRecord &record)
{
    ResultRecord plain = record;
    plain.progress.reset();
    const QByteArray figures = plain.toRecordLines()
            + QByteArray::number(record.progress ? record.progress->typedSoFar : 0);
    return QCryptographicHash::hash(figures, QCryptographicHash::Sha1);
}

SessionLedger::SessionLedger(QVector<SessionEntry> entries, QStringList examPublications)
    : m_entries(std::move(entries)), m_examPublications(std::move(examPublications))
{
    for (int i = 0; i < m_entries.size(); ++i)
        m_byPerson[m_entries.at(i).person].append(i);
}

bool SessionLedger::oneExam(const QString &publication, const QString &other) const
{
    return publication == other
            || (m_examPublications.contains(publication) && m_examPublications.contains(other));
}

SessionEntry *SessionLedger::findMutable(const QString &person, const QString &sessionId)
{
    for (int i : sessionsAt(person)) {
        if (m_entries.at(i).sessionId == sessionId)
            return &m_entries[i];
    }
    return nullptr;
}

const SessionEntry *SessionLedger::find(const QString &person, const QString &sessionId) const
{
    return const_cast<SessionLedger *>(this)->findMutable(person, sessionId);
}

int SessionLedger::loginOrdinal(const QString &person, const QString &sessionId) const
{
    const QVector<int> at = sessionsAt(person);
    for (int ordinal = 0; ordinal < at.size(); ++ordinal) {
        if (m_entries.at(at.at(ordinal)).sessionId == sessionId)
            return ordinal + 1;
    }
    return 0;
}

namespace {

void noteDoubt(SessionEntry &entry, const QString &doubt)
{
    if (!doubt.isEmpty() && !entry.timelineDoubts.contains(doubt))
        entry.timelineDoubts << doubt;
}

bool beforeFinish(const ResultRecord &record)
{
    return record.progress && record.progress->phase != ResultProgress::Phase::Finished;
}

// The step from the last record seen to this newer one counts towards the
// clock's rate when records kept arriving and the clock ran between them:
// not across a resume, and not while the examinee had not started.
void measureClock(SessionEntry &entry, const SessionEntry &before, const ResultRecord &record,
                  const QDateTime &now)
{
    const qint32 resumes = record.answerSheet ? record.answerSheet->resumeCount : 0;
    if (before.sequence < 0 || !before.lastChange.isValid()
        || before.phase == ResultProgress::Phase::Waiting || resumes != before.resumeCount)
        return;
    const qint64 arrived = before.lastChange.secsTo(now);
    if (arrived < 0 || arrived > sessionrules::kArrivalGapSeconds)
        return;
    entry.arrivedSeconds += qint32(arrived);
    entry.clockedSeconds += record.timePass - before.timePass;
    noteDoubt(entry, sessionrules::clockRate(entry));
}

}  // namespace

std::optional<RecordTimeline> SessionLedger::keptTimeline(const CollectedFile &file)
{
    return readRecordTimeline(*file.reading.record);
}

void SessionLedger::followTimelines(SessionEntry &entry, const CollectedResult &result,
                                    qint32 seenSequence, const TimelineOf &timelineOf)
{
    // A service that keeps every upload shows the records between too.
    std::vector<const CollectedFile *> newer;
    for (const CollectedFile &file : result.files) {
        const ResultRecord &seen = *file.reading.record;
        if (hasSession(seen) && seen.progress->sessionId == entry.sessionId
            && seen.progress->sequence > seenSequence)
            newer.push_back(&file);
    }
    std::stable_sort(newer.begin(), newer.end(),
                     [](const CollectedFile *a, const CollectedFile *b) {
                         return a->reading.record->progress->sequence
                                 < b->reading.record->progress->sequence;
                     });
    for (const CollectedFile *file : newer) {
        const std::optional<RecordTimeline> reading = timelineOf(*file);
        if (!reading)
            continue;
        noteDoubt(entry, sessionrules::timelineBroken(entry.timelineChain, *reading));
        if (reading->timeline)
            entry.timelineChain = chainMark(*reading->timeline);
    }
}

void SessionLedger::observe(const QVector<CollectedResult> &results, const QDateTime &now,
                            const QDateTime &watchingSince, const QDateTime &publishedAt,
                            const TimelineOf &timelineOf)
{
    for (const CollectedResult &result : results) {
        const ResultRecord &record = result.record;
        if (!hasSession(record))
            continue;
        const QString person = personOf(record);
        SessionEntry *entry = findMutable(person, record.progress->sessionId);
        if (!entry) {
            SessionEntry seen;
            seen.person = person;
            seen.sessionId = record.progress->sessionId;
            seen.spelling = spellingOf(record);
            seen.publication = publicationOf(record.sections);
            seen.sequence = -1;
            m_byPerson[person].append(int(m_entries.size()));
            m_entries.append(seen);
            entry = &m_entries.last();
        }
        const SessionEntry before = *entry;
        // A service that keeps every upload shows the earlier records too.
        for (const CollectedFile &file : result.files)
            entry->sawProcess = entry->sawProcess || beforeFinish(*file.reading.record);
        if (record.progress->sequence > entry->sequence) {
            const sessionrules::Step step { before, record, now };
            noteDoubt(*entry, sessionrules::timeWentBack(step));
            noteDoubt(*entry, sessionrules::sequenceJumped(step));
            SessionEntry known = before;
            known.sawProcess = entry->sawProcess;
            noteDoubt(*entry,
                      sessionrules::noProcessRecords({ known, record, now }, watchingSince,
                                                     publishedAt));
            noteDoubt(*entry,
                      sessionrules::beganBeforePublication({ known, record, now }, publishedAt,
                                                           entry->timelineDoubts));
            measureClock(*entry, before, record, now);
            followTimelines(*entry, result, before.sequence, timelineOf);
            entry->sequence = record.progress->sequence;
            entry->phase = record.progress->phase;
            entry->timePass = record.timePass;
            entry->lastChange = now;
            // A client that continued the session after a crash counts its resumes.
            const qint32 resumes = record.answerSheet ? record.answerSheet->resumeCount : 0;
            if (resumes > entry->resumeCount) {
                entry->resumeCount = resumes;
                entry->resumedAt = now;
            }
        }
        // Every finished record of the session is held against its first.
        for (const CollectedFile &file : result.files) {
            const ResultRecord &seen = *file.reading.record;
            if (!seen.progress || seen.progress->phase != ResultProgress::Phase::Finished)
                continue;
            const QByteArray figures = finishedFigures(seen);
            if (!entry->finished()) {
                entry->finishedFile = file.localName;
                entry->finishedFigures = figures;
            } else if (figures != entry->finishedFigures) {
                entry->changedAfterFinish = true;
            }
        }
        // A finished session that sends a record of another phase was changed too.
        if (entry->finished() && record.progress->phase != ResultProgress::Phase::Finished)
            entry->changedAfterFinish = true;
        entry->dirty = entry->dirty || entry->sequence != before.sequence
                || entry->finishedFigures != before.finishedFigures
                || entry->changedAfterFinish != before.changedAfterFinish
                || entry->sawProcess != before.sawProcess
                || entry->timelineDoubts != before.timelineDoubts
                || entry->timelineChain != before.timelineChain;
    }
}

const SessionEntry *SessionLedger::standingResult(const QString &person,
                                                  const std::optional<QString> &publication,
                                                  const std::optional<QString> &spelling) const
{
    // The first session to finish stands; a later one is a second attempt.
    for (int i : sessionsAt(person)) {
        const SessionEntry &entry = m_entries.at(i);
        if (entry.finished() && !entry.setAside
            && oneExam(entry.publication, publication.value_or(entry.publication))
            && typedAs(entry, spelling))
            return &entry;
    }
    return nullptr;
}

int SessionLedger::sessionsOf(const QString &person, const std::optional<QString> &spelling) const
{
    const QVector<int> at = sessionsAt(person);
    return int(std::count_if(at.cbegin(), at.cend(), [&](int i) {
        return !m_entries.at(i).setAside && typedAs(m_entries.at(i), spelling);
    }));
}

QVector<const SessionEntry *> SessionLedger::setAsideOf(const QString &person) const
{
    QVector<const SessionEntry *> aside;
    for (int i : sessionsAt(person)) {
        const SessionEntry &entry = m_entries.at(i);
        if (entry.setAside && entry.finished())
            aside << &entry;
    }
    return aside;
}

bool SessionLedger::interrupted(const SessionEntry &entry, qint32 examSeconds, const QDateTime &now)
{
    // One who has not pressed Enter yet is waiting, however long.
    if (entry.phase != ResultProgress::Phase::Typing || examSeconds <= 0
        || !entry.lastChange.isValid())
        return false;
    const qint64 examLeft = std::max<qint64>(0, examSeconds - entry.timePass) + kGraceSeconds;
    return entry.lastChange.secsTo(now) > std::max<qint64>(kStoppedSeconds, examLeft);
}

bool SessionLedger::setAside(const QString &person)
{
    if (!standingResult(person))
        return false;
    // The sessions so far no longer count; the next one is the retake.
    for (int i : sessionsAt(person)) {
        m_entries[i].setAside = true;
        m_entries[i].dirty = true;
    }
    return true;
}

void SessionLedger::keepFinishedRecord(CollectedResult &result, const SessionEntry &standing,
                                       const FinishedRecord &recordOf)
{
    const ResultRecord &record = result.record;
    const bool finishedAgain = record.progress->phase == ResultProgress::Phase::Finished;
    if (finishedAgain && finishedFigures(record) == standing.finishedFigures)
        return;
    // A record replayed or written after the finish changes nothing of it:
    // the finished record stands, and the ledger has noted the change. A
    // later finish of the session (a higher sequence number) is shown, in doubt.
    const ResultRecordReading finished = readResultRecord(recordOf(standing));
    if (!finished.ok() || !finished.record->progress)
        return;
    if (finishedAgain && record.progress->sequence > finished.record->progress->sequence)
        return;
    result.record = *finished.record;
    result.accuracyLine = finished.accuracyLine;
    // Its texts are examined where the row is shown.
    result.findings = std::nullopt;
}

void SessionLedger::keepFinished(QVector<CollectedResult> &results,
                                 const FinishedRecord &recordOf) const
{
    QVector<CollectedResult> kept;
    kept.reserve(results.size());
    QHash<QString, int> standingRow;  // person and standing session -> index into kept
    for (CollectedResult &result : results) {
        const ResultRecord &record = result.record;
        const QString person = personOf(record);
        const SessionEntry *standing = hasSession(record)
                ? standingResult(person, publicationOf(record.sections), spellingOf(record))
                : nullptr;
        if (!standing) {
            kept.append(std::move(result));
            continue;
        }
        const QString standingKey = person + QChar(0) + standing->sessionId;
        const bool own = standing->sessionId == record.progress->sessionId;
        if (own)
            keepFinishedRecord(result, *standing, recordOf);
        auto row = standingRow.constFind(standingKey);
        if (row != standingRow.cend() && own) {
            // Its row stood in for it from the ledger until now.
            CollectedResult &standIn = kept[*row];
            result.files += standIn.files;
            result.laterSessions = standIn.laterSessions;
            standIn = std::move(result);
            continue;
        }
        if (row == standingRow.cend()) {
            // The later session's file replaced the finished one's; a ledger
            // that does not read back (a damaged cj.mdb) cannot stand in.
            const ResultRecordReading reading =
                    own ? ResultRecordReading() : readResultRecord(recordOf(*standing));
            if (!own && !reading.ok()) {
                kept.append(std::move(result));
                continue;
            }
            row = standingRow.insert(standingKey, int(kept.size()));
            if (own) {
                kept.append(std::move(result));
                continue;
            }
            kept.append({ *reading.record, reading.accuracyLine, {}, 0 });
        }
        // The later session's files stay in view for the file name checks.
        kept[*row].files += result.files;
        ++kept[*row].laterSessions;
    }
    results = std::move(kept);
}
