// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/sessionrules.h"

#include <algorithm>
#include <cstdlib>
#include <QCoreApplication>

namespace sessionrules {

namespace {

bool seenBefore(const Step &step)
{
    return step.before.sequence >= 0;
}

qint32 resumesOf(const ResultRecord &record)
{
    return record.answerSheet ? record.answerSheet->resumeCount : 0;
}

}  // namespace

QString timeWentBack(const Step &step)
{
    if (!seenBefore(step) || step.record.timePass >= step.before.timePass)
        return {};
    if (resumesOf(step.record) > step.before.resumeCount)
        return QCoreApplication::translate("SessionRules", "续考从用时%1秒开始，早于此前记录的%2秒")
                .arg(step.record.timePass)
                .arg(step.before.timePass);
    return QCoreApplication::translate("SessionRules", "用时从%1秒退回到%2秒")
            .arg(step.before.timePass)
            .arg(step.record.timePass);
}

QString sequenceJumped(const Step &step)
{
    if (!seenBefore(step) || !step.before.lastChange.isValid())
        return {};
    const qint64 elapsed = std::max<qint64>(0, step.before.lastChange.secsTo(step.arrived));
    const qint64 most = step.before.sequence + elapsed / kProgressSeconds + kEventRecords;
    if (step.record.progress->sequence <= most)
        return {};
    return QCoreApplication::translate("SessionRules", "记录序号从%1跳到%2（%3秒内）")
            .arg(step.before.sequence)
            .arg(step.record.progress->sequence)
            .arg(elapsed);
}

QString clockRate(const SessionEntry &session)
{
    const qint64 arrived = session.arrivedSeconds;
    const qint64 clocked = session.clockedSeconds;
    const qint64 slack = kClockSlackSeconds + arrived * kClockSlackFifths / 5;
    if (std::abs(clocked - arrived) <= slack)
        return {};
    if (clocked < arrived)
        return QCoreApplication::translate("Timeline",
                                           "考生端计时偏慢：记录陆续到达的%1秒里只计了%2秒")
                .arg(arrived)
                .arg(clocked);
    return QCoreApplication::translate("SessionRules",
                                       "考生端计时偏快：记录陆续到达的%1秒里计了%2秒")
            .arg(arrived)
            .arg(clocked);
}

QString noProcessRecords(const Step &step, const QDateTime &watchingSince,
                         const QDateTime &publishedAt)
{
    if (step.before.sawProcess || !step.record.progress
        || step.record.progress->phase != ResultProgress::Phase::Finished
        || !watchingSince.isValid())
        return {};
    const QDateTime loggedInBy =
            step.arrived.addSecs(-qint64(step.record.timePass) - kArrivalGapSeconds);
    const bool watchedSincePublished = publishedAt.isValid()
            && watchingSince <= publishedAt.addSecs(kPublishedGraceSeconds)
            && step.record.timePass >= kArrivalGapSeconds;
    if (watchingSince > loggedInBy && !watchedSincePublished)
        return {};
    return QCoreApplication::translate("SessionRules", "没有考试过程记录");
}

QString beganBeforePublication(const Step &step, const QDateTime &publishedAt,
                               const QStringList &said)
{
    // A session seen typing is held to the clock by its arrivals instead.
    const QString what = QCoreApplication::translate("SessionRules", "开始早于考试发布");
    if (!publishedAt.isValid() || step.before.sawProcess || !step.record.progress
        || step.record.progress->phase != ResultProgress::Phase::Finished
        || std::any_of(said.cbegin(), said.cend(),
                       [&what](const QString &doubt) { return doubt.startsWith(what); }))
        return {};
    const qint64 sincePublished = publishedAt.secsTo(step.arrived);
    if (step.record.timePass <= sincePublished + kPublishedGraceSeconds)
        return {};
    return what
            + QCoreApplication::translate("SessionRules", "：用时%1秒，考试发布%2秒后已收到")
                      .arg(step.record.timePass)
                      .arg(std::max<qint64>(0, sincePublished));
}

QString timelineBroken(const std::optional<TimelineChainMark> &earlier,
                       const RecordTimeline &record)
{
    if (!earlier || !record.problem.isEmpty())
        return {};
    if (!record.timeline)
        return QCoreApplication::translate("SessionRules", "缺少按键记录");
    if (continuesTimeline(*record.timeline, *earlier))
        return {};
    return QCoreApplication::translate("SessionRules", "按键记录与此前收到的不连续");
}

}  // namespace sessionrules
