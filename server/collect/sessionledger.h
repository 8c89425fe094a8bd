// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the console knows of each exam session (one login of one examinee):
// how far it got, when its records last changed, whether it was resumed,
// and the record it finished with. Judging per session keeps an honest
// examinee who logged in twice apart from one whose finished result was
// overwritten, and the ledger lives beside tabCJ so a restarted console
// still knows.
#include "exchange/examlimits.h"
#include "exchange/resultrecord.h"
#include "timeline/recordtimeline.h"
#include "timeline/timelinechain.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

struct CollectedFile;
struct CollectedResult;

struct SessionEntry
{
    QString person;  // identity::personKey of the record
    // identity::spelling of its first record; empty when stored without one.
    QString spelling;
    QString sessionId;
    QString publication;  // the one its first record named; empty when none
    ResultProgress::Phase phase = ResultProgress::Phase::Waiting;
    qint32 sequence = 0;  // of the newest record seen
    qint16 timePass = 0;  // of the newest record seen
    qint32 resumeCount = 0;
    QDateTime lastChange;  // when a newer record was first seen (console's clock)
    QDateTime resumedAt;  // when the last resume was first seen; null when never
    // Record lines of its first finished record. A record with its typed
    // text is large: read from the table only where it is shown (set aside,
    // or standing in for a later session).
    QByteArray finishedRecord;
    // The file (its name as the file system has it) a session first seen
    // finished in this collection had its finished record in: read when the
    // entry is saved, as the collection keeps no texts.
    QByteArray finishedFile;
    QByteArray finishedFigures;  // digest of what must not change after the finish
    bool changedAfterFinish = false;
    // A record before the finish (waiting or typing) was seen.
    bool sawProcess = false;
    // The spans between records that kept arriving, by the console's clock
    // and by the time used the records give; a resume starts none.
    qint32 arrivedSeconds = 0;
    qint32 clockedSeconds = 0;
    // What the session's records broke of the rules one record follows
    // another by (collect/sessionrules.h), each once.
    QStringList timelineDoubts;
    // The newest keystroke timeline its records carried; none while none did.
    std::optional<TimelineChainMark> timelineChain;
    bool setAside = false;  // the examiner allowed a retake: no longer the result
    bool stored = false;  // the table has it
    bool dirty = false;  // changed since it was read from the table

    bool finished() const { return !finishedFigures.isEmpty(); }
};

class SessionLedger
{
public:
    // A session whose records stopped for longer than the slowest progress
    // interval (a write-once service) and the clocks' grace.
    static constexpr int kStoppedSeconds = examlimits::kStoppedSeconds;
    static constexpr int kGraceSeconds = examlimits::kClockGraceSeconds;

    // `examPublications` are the publications of one exam (each 允许登录 of
    // the same exam is one): a finished session of any of them stands for
    // the others.
    explicit SessionLedger(QVector<SessionEntry> entries = {}, QStringList examPublications = {});

    // The timeline of a collected file's record read whole (a collection
    // may have let the texts go); none when the file no longer holds that
    // record.
    using TimelineOf = std::function<std::optional<RecordTimeline>(const CollectedFile &)>;
    // A collected record's own timeline, for records that kept their texts.
    static std::optional<RecordTimeline> keptTimeline(const CollectedFile &file);

    // Takes what a collection found, seen at `now` by a console that has
    // collected since `watchingSince`, of an exam published at
    // `publishedAt` (either null: unknown).
    void observe(const QVector<CollectedResult> &results, const QDateTime &now,
                 const QDateTime &watchingSince = {}, const QDateTime &publishedAt = {},
                 const TimelineOf &timelineOf = keptTimeline);
    // A finished session is never replaced by a later one of its examinee
    // of the same publication typed in the same spelling: the later
    // sessions' rows give way to the finished one's, which counts them in
    // laterSessions. A session typed in another spelling keeps its row: a
    // classmate's "Ａ１８" must not take the place of the real "A18" (the
    // class list tells which is the examinee's own). A session of an
    // earlier exam's publication (the same examinee in the last exam)
    // stands for nothing of this one. `recordOf` gives a finished session's
    // record lines where its own file is gone.
    using FinishedRecord = std::function<QByteArray(const SessionEntry &)>;
    void keepFinished(QVector<CollectedResult> &results, const FinishedRecord &recordOf) const;

    const QVector<SessionEntry> &entries() const { return m_entries; }
    const SessionEntry *find(const QString &person, const QString &sessionId) const;
    // The finished session that stands as this examinee's result; with a
    // publication, of that publication only; with a spelling, of a session
    // typed so (or stored without one).
    const SessionEntry *standingResult(const QString &person,
                                       const std::optional<QString> &publication = {},
                                       const std::optional<QString> &spelling = {}) const;
    // Which of the examinee's sessions this is, from 1, in the order first
    // seen (set-aside ones too: each was a login); 0 for one not seen.
    int loginOrdinal(const QString &person, const QString &sessionId) const;
    // The sessions that count for the examinee (not set aside); with a
    // spelling, those typed so (or stored without one).
    int sessionsOf(const QString &person, const std::optional<QString> &spelling = {}) const;
    // Finished results the examiner set aside for a retake, oldest first.
    QVector<const SessionEntry *> setAsideOf(const QString &person) const;
    // Its records have stopped while typing and its exam time is over, unfinished.
    static bool interrupted(const SessionEntry &entry, qint32 examSeconds, const QDateTime &now);

    // Sets aside the examinee's standing result and every session before
    // the retake; false when there is no standing result.
    bool setAside(const QString &person);

private:
    // Each newer record of the session, oldest first, must go on with the
    // timeline of the one before it.
    static void followTimelines(SessionEntry &entry, const CollectedResult &result,
                                qint32 seenSequence, const TimelineOf &timelineOf);
    // The session's own row shows its finished record, whatever came after.
    static void keepFinishedRecord(CollectedResult &result, const SessionEntry &standing,
                                   const FinishedRecord &recordOf);
    SessionEntry *findMutable(const QString &person, const QString &sessionId);
    bool oneExam(const QString &publication, const QString &other) const;
    // The examinee's sessions, in the order first seen.
    QVector<int> sessionsAt(const QString &person) const { return m_byPerson.value(person); }

    QVector<SessionEntry> m_entries;
    // Indices into m_entries by person: a class of thousands is looked up
    // row by row.
    QHash<QString, QVector<int>> m_byPerson;
    QStringList m_examPublications;
};

// Lines 1 to 10 and the typed length: what must not change after a finish.
QByteArray finishedFigures(const ResultRecord &record);
