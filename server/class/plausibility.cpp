// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/plausibility.h"

#include "exchange/examlimits.h"
#include "exchange/identity.h"
#include "exchange/numbers.h"
#include "exchange/resultfilename.h"

#include <cmath>
#include <QCoreApplication>

namespace {

QString number(double value)
{
    // A forged 3.4e38 would print with 39 digits.
    return std::abs(value) < 1e7 ? numbers::singleText(float(value))
                                 : QString::number(value, 'g', 7);
}

// Whether a record of an older client, without progress lines, says its
// examinee has finished: it has a time.
bool saysFinished(const ResultRecord &record)
{
    return record.timePass > 0;
}

QString identityKey(const ResultRecord &record)
{
    return identity::personKey(record.department, record.examNumber, record.name);
}

// The most a record claims was typed, by its length or its progress line.
qint64 typedOf(const ResultRecord &record)
{
    return std::max<qint64>(record.typedLen, record.progress ? record.progress->typedSoFar : 0);
}

}  // namespace

namespace bounds {

QString speedAboveCeiling(const ResultRecord &record, const ExamFacts &facts)
{
    if (!(double(record.speed) > facts.judging.speedCeiling))
        return {};
    return QCoreApplication::translate("Bounds", "速度%1超过每分钟%2字，不是人能打出的")
            .arg(number(record.speed))
            .arg(facts.judging.speedCeiling);
}

QString typedTooFast(const ResultRecord &record, const ExamFacts &facts)
{
    const qint64 typed = typedOf(record);
    const qint64 seconds = std::max<qint64>(record.timePass, kShortestJudgedSeconds);
    if (typed * 60 <= qint64(facts.judging.speedCeiling) * seconds)
        return {};
    return QCoreApplication::translate("Bounds", "用时%1秒打了%2字，快于每分钟%3字")
            .arg(record.timePass)
            .arg(typed)
            .arg(facts.judging.speedCeiling);
}

QString typedBeyondText(const ResultRecord &record)
{
    const qint64 typed = typedOf(record);
    if (typed <= qint64(record.targetLen) + examlimits::kTypedBeyondTextCharacters)
        return {};
    return QCoreApplication::translate("Bounds", "打字数%1超过原文字数%2加%3")
            .arg(typed)
            .arg(record.targetLen)
            .arg(examlimits::kTypedBeyondTextCharacters);
}

QString progressBeyondTyped(const ResultRecord &record)
{
    if (!record.progress || record.progress->typedSoFar <= record.typedLen)
        return {};
    return QCoreApplication::translate("Bounds", "进度行的打字数%1超过成绩的打字数%2")
            .arg(record.progress->typedSoFar)
            .arg(record.typedLen);
}

QString negativeResumes(const ResultRecord &record)
{
    if (!record.answerSheet || record.answerSheet->resumeCount >= 0)
        return {};
    return QCoreApplication::translate("Bounds", "续考次数%1小于0")
            .arg(record.answerSheet->resumeCount);
}

}  // namespace bounds

QString setAsideDoubt(const SessionEntry &entry)
{
    const ResultRecordReading reading = readResultRecord(entry.finishedRecord);
    if (!reading.ok())
        return QCoreApplication::translate("Plausibility", "已重考，原成绩无法读出");
    return QCoreApplication::translate("Plausibility",
                                       "重考前的成绩：速度%1字/分钟，正确率%2％，用时%3秒")
            .arg(numbers::speedText(reading.record->speed),
                 numbers::accuracyText(reading.accuracyLine))
            .arg(reading.record->timePass);
}

QStringList recordDoubts(const ResultRecord &record, const ExamFacts &facts)
{
    QStringList doubts;
    const double speed = record.speed;
    const double accuracy = record.accuracy;
    if (!std::isfinite(speed) || speed < 0) {
        doubts << QCoreApplication::translate("Plausibility", "速度%1不是有效的数")
                          .arg(number(speed));
    } else {
        // Right characters per minute cannot exceed typed characters per
        // minute; the client rounds to two decimals.
        const qint64 typed = typedOf(record);
        const double most = record.timePass > 0 ? double(typed) * 60.0 / record.timePass : 0.0;
        if (speed > most + 0.01)
            doubts << QCoreApplication::translate("Plausibility",
                                                  "速度%1超过打字数%2和用时%3秒所能达到的%4")
                              .arg(number(speed))
                              .arg(typed)
                              .arg(record.timePass)
                              .arg(number(std::floor(most * 100) / 100));
    }
    if (!std::isfinite(accuracy) || accuracy < 0 || accuracy > 100)
        doubts << QCoreApplication::translate("Plausibility", "正确率%1不在0到100之间")
                          .arg(number(accuracy));
    const int latest = facts.examSeconds + PlausibilityCheck::kGraceSeconds;
    if (record.timePass < 0 || (facts.examSeconds > 0 && record.timePass > latest)) {
        QString doubt = QCoreApplication::translate("Plausibility", "用时%1秒不在0到%2秒之间")
                                .arg(record.timePass)
                                .arg(facts.examSeconds);
        if (facts.asPublished)
            doubt += QCoreApplication::translate("Plausibility", "（按发布时的考试时间%1分钟判断）")
                             .arg(facts.examSeconds / 60);
        doubts << doubt;
    }
    if (facts.publishedLength && record.targetLen != *facts.publishedLength)
        doubts << QCoreApplication::translate("Plausibility", "原文字数%1与发布的考试内容%2不同")
                          .arg(record.targetLen)
                          .arg(*facts.publishedLength);
    for (const QString &broken :
         { bounds::speedAboveCeiling(record, facts), bounds::typedTooFast(record, facts),
           bounds::typedBeyondText(record), bounds::progressBeyondTyped(record),
           bounds::negativeResumes(record) }) {
        if (!broken.isEmpty())
            doubts << broken;
    }
    return doubts;
}

QVector<QStringList> PlausibilityCheck::check(const QVector<CollectedResult> &rows,
                                              const ExamFacts &facts, const SessionLedger &sessions)
{
    QVector<QStringList> doubts;
    doubts.reserve(rows.size());
    for (const CollectedResult &row : rows) {
        const ResultRecord &record = row.record;
        QStringList reasons = row.doubts + recordDoubts(record, facts);
        if (row.signature != RecordKeys::Verdict::Signed) {
            // Not its examinee's doing as far as anyone can tell: nothing
            // about the identity's sessions is judged from it.
            reasons.prepend(row.signature == RecordKeys::Verdict::Pending
                                    ? tr("签名尚未核对完")
                                    : tr("签名不符：可能是伪造的成绩"));
            doubts << reasons;
            continue;
        }
        for (const CollectedFile &file : row.files) {
            if (!resultname::matchesIdentity(file.name, record.department, record.examNumber,
                                             record.name))
                reasons << tr("文件名%1与部门、考号、姓名不符").arg(file.name);
        }
        const QString identity = identityKey(record);
        // On a service that overwrites, a second login replaces the first
        // one's file: the ledger still knows both.
        // Sessions typed in another spelling are the class list's to judge
        // (LiveClass), not a second login of this one.
        const int count = sessions.sessionsOf(
                identity, identity::spelling(record.department, record.examNumber, record.name));
        if (count > 1)
            reasons << tr("同一考生有%1次登录考试的成绩文件").arg(count);
        if (record.progress && !record.progress->sessionId.isEmpty()) {
            const SessionEntry *entry = sessions.find(identity, record.progress->sessionId);
            if (entry && entry->changedAfterFinish)
                reasons << tr("交卷后成绩又被改动");
            if (entry)
                reasons << entry->timelineDoubts;
        } else {
            const auto finished = m_finished.constFind(identity);
            if (finished != m_finished.constEnd() && *finished != finishedFigures(record))
                reasons << tr("交卷后成绩又被改动");
            else if (finished == m_finished.constEnd() && saysFinished(record))
                m_finished.insert(identity, finishedFigures(record));
        }
        if (row.laterSessions > 0)
            reasons << tr("交卷后又登录考试%1次，监考老师没有允许重考，成绩仍为交卷时的成绩")
                               .arg(row.laterSessions);
        doubts << reasons;
    }
    return doubts;
}
