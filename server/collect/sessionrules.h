// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules a session's records must follow one after another, as the
// console sees them arrive. A client's clock and its counters only go
// forward; records that break this were edited, or come from a client whose
// clock was tampered with. Each rule is one function with its threshold
// beside it; each returns the doubt, empty when the rule holds.
#include "collect/sessionledger.h"
#include "exchange/examlimits.h"
#include "exchange/resultrecord.h"
#include "timeline/recordtimeline.h"
#include "timeline/timelinechain.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace sessionrules {

// One newer record of a session: what the console knew of the session
// before it, the record, and when it arrived.
struct Step
{
    const SessionEntry &before;  // sequence -1: the session's first record
    const ResultRecord &record;
    QDateTime arrived;
};

// The time used never goes back, not even across a resume: a resumed
// client starts from its newest record or checkpoint, never before what it
// sent.
QString timeWentBack(const Step &step);

// The client sends a record every progress interval of the exam and a few on
// events (login, start, finish, a resend the examinee asks for); more
// records than that between two arrivals were numbered by hand.
constexpr int kProgressSeconds = examlimits::kProgressSeconds;
constexpr int kEventRecords = 5;
QString sequenceJumped(const Step &step);

// The spans between records that kept arriving (no gap longer than the
// slowest upload interval), as the console's clock and the client's measured
// them. The client's may differ by the collection's cadence and by a fifth;
// more is a clock slowed down or sped up.
constexpr int kArrivalGapSeconds = SessionLedger::kStoppedSeconds;
constexpr int kClockSlackSeconds = 60;
constexpr int kClockSlackFifths = 1;
QString clockRate(const SessionEntry &session);

// A finished record from a session the console never saw before, though it
// watched long enough for the session's earlier records to arrive: the
// session logged in at least its time used before the finish, and its first
// record would have arrived within the slowest upload interval.
// So does a lone finish of at least the slowest upload interval when the
// console has watched since the exam was published.
QString noProcessRecords(const Step &step, const QDateTime &watchingSince,
                         const QDateTime &publishedAt = {});

// A lone finish cannot have begun before its exam was published: the time
// used reaches back from the record's arrival no further than the
// publication, give or take the clocks' grace.
constexpr int kPublishedGraceSeconds = SessionLedger::kGraceSeconds;
// Said once per session: `said` holds the session's doubts so far.
QString beganBeforePublication(const Step &step, const QDateTime &publishedAt,
                               const QStringList &said);

// Every record of a session carries the session's whole keystroke timeline
// so far: the timeline of the record before it and what came since, across
// a resume too (the client goes on from its newest record or checkpoint).
// `earlier` marks the newest timeline the session's records carried. A
// damaged timeline is said where the timeline is examined.
QString timelineBroken(const std::optional<TimelineChainMark> &earlier,
                       const RecordTimeline &record);

}  // namespace sessionrules
