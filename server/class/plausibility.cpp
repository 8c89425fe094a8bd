#include "class/plausibility.h"

#include "identity.h"
#include "numbers.h"
#include "resultfilename.h"

#include <QSet>

#include <cmath>

namespace {

QString number(double value)
{
    // A forged 3.4e38 would print with 39 digits.
    return std::abs(value) < 1e7 ? numbers::singleText(float(value))
                                 : QString::number(value, 'g', 7);
}

// Whether the record says its examinee has finished; a record without
// progress lines has finished once it has a time.
bool saysFinished(const ResultRecord &record)
{
    if (record.progress)
        return record.progress->phase == ResultProgress::Phase::Finished;
    return record.timePass > 0;
}

// Lines 1 to 10 and the typed length: what must not change after the finish.
QByteArray figures(const ResultRecord &record)
{
    ResultRecord plain = record;
    plain.progress.reset();
    return plain.toRecordLines()
            + QByteArray::number(record.progress ? record.progress->typedSoFar : 0);
}

QString identityKey(const ResultRecord &record)
{
    return identity::personKey(record.department, record.examNumber, record.name);
}

// A finished record followed, within the same session, by a different one.
bool changedWithinSession(const CollectedResult &row)
{
    const CollectedFile *finished = nullptr;
    for (const CollectedFile &file : row.files) {
        const ResultRecord &record = *file.reading.record;
        if (record.progress && record.progress->phase == ResultProgress::Phase::Finished
            && (!finished
                || record.progress->sequence < finished->reading.record->progress->sequence))
            finished = &file;
    }
    if (!finished)
        return false;
    const ResultRecord &first = *finished->reading.record;
    for (const CollectedFile &file : row.files) {
        const ResultRecord &record = *file.reading.record;
        if (record.progress && record.progress->sequence > first.progress->sequence
            && figures(record) != figures(first))
            return true;
    }
    return false;
}

}  // namespace

QStringList recordDoubts(const ResultRecord &record, const ExamFacts &facts)
{
    QStringList doubts;
    const double speed = record.speed;
    const double accuracy = record.accuracy;
    if (!std::isfinite(speed) || speed < 0) {
        doubts << QStringLiteral("速度%1不是有效的数").arg(number(speed));
    } else {
        // Right characters per minute cannot exceed typed characters per
        // minute; the client rounds to two decimals.
        const qint64 typed = std::max<qint64>(record.typedLen,
                                              record.progress ? record.progress->typedSoFar : 0);
        const double most = record.timePass > 0 ? double(typed) * 60.0 / record.timePass : 0.0;
        if (speed > most + 0.01)
            doubts << QStringLiteral("速度%1超过打字数%2和用时%3秒所能达到的%4")
                              .arg(number(speed))
                              .arg(typed)
                              .arg(record.timePass)
                              .arg(number(std::floor(most * 100) / 100));
    }
    if (!std::isfinite(accuracy) || accuracy < 0 || accuracy > 100)
        doubts << QStringLiteral("正确率%1不在0到100之间").arg(number(accuracy));
    const int latest = facts.examSeconds + PlausibilityCheck::kGraceSeconds;
    if (record.timePass < 0 || (facts.examSeconds > 0 && record.timePass > latest)) {
        QString doubt = QStringLiteral("用时%1秒不在0到%2秒之间")
                                .arg(record.timePass)
                                .arg(facts.examSeconds);
        if (facts.asPublished)
            doubt += QStringLiteral("（按发布时的考试时间%1分钟判断）").arg(facts.examSeconds / 60);
        doubts << doubt;
    }
    if (facts.publishedLength && record.targetLen != *facts.publishedLength)
        doubts << QStringLiteral("原文字数%1与发布的考试内容%2不同")
                          .arg(record.targetLen)
                          .arg(*facts.publishedLength);
    return doubts;
}

QVector<QStringList> PlausibilityCheck::check(const QVector<CollectedResult> &rows,
                                              const ExamFacts &facts)
{
    // Sessions are remembered: on a service that overwrites, a second login
    // replaces the first one's file.
    for (const CollectedResult &row : rows) {
        if (row.record.progress && !row.record.progress->sessionId.isEmpty())
            m_sessions[identityKey(row.record)].insert(row.record.progress->sessionId);
    }
    QVector<QStringList> doubts;
    doubts.reserve(rows.size());
    for (const CollectedResult &row : rows) {
        const ResultRecord &record = row.record;
        QStringList reasons = recordDoubts(record, facts);
        for (const CollectedFile &file : row.files) {
            if (!resultname::matchesIdentity(file.name, record.department, record.examNumber,
                                             record.name))
                reasons << QStringLiteral("文件名%1与部门、考号、姓名不符").arg(file.name);
        }
        const QString identity = identityKey(record);
        const int sessions = int(m_sessions.value(identity).size());
        if (sessions > 1)
            reasons << QStringLiteral("同一考生有%1次登录考试的成绩文件").arg(sessions);
        const auto finished = m_finished.constFind(identity);
        if (changedWithinSession(row)
            || (finished != m_finished.constEnd() && *finished != figures(record)))
            reasons << QStringLiteral("交卷后成绩又被改动");
        else if (finished == m_finished.constEnd() && saysFinished(record))
            m_finished.insert(identity, figures(record));
        doubts << reasons;
    }
    return doubts;
}
