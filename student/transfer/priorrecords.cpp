// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/priorrecords.h"

#include "exchange/identity.h"
#include "exchange/publication.h"
#include "exchange/recordsignature.h"
#include "exchange/transcode.h"

PriorRecords::PriorRecords(const Examinee &examinee, QByteArray examDigest, qint16 examMinutes)
    : m_examinee(examinee), m_examDigest(std::move(examDigest)), m_examMinutes(examMinutes)
{
}

QString PriorRecords::finishedMessage()
{
    return tr("你已交卷，不能再次考试。如需重考，请联系监考老师。");
}

QString PriorRecords::resumeQuestion(const ResultRecord &record)
{
    // Characters as the examinee counts them: a line break is none.
    const QString typed = record.answerSheet ? record.answerSheet->typedText : QString();
    const qsizetype characters = typed.size() - typed.count(u'\r') - typed.count(u'\n');
    return tr("检测到未完成的考试（已用时 %1 分 %2 秒，已打 %3 字），是否继续？\n"
              "选“否”将重新开始一次考试，之前那次考试的记录仍会保留，"
              "并标明给监考老师。")
            .arg(record.timePass / 60)
            .arg(record.timePass % 60)
            .arg(characters);
}

bool PriorRecords::ofThisPublication(const ResultRecord &record) const
{
    // The same text and time published again is another exam: a record
    // of the earlier publication neither refuses nor resumes.
    return publicationOf(record.sections) == m_examinee.publication.id;
}

void PriorRecords::note(const QString &source, const QString &problem)
{
    m_passedOver << source + tr("（") + problem + tr("）");
}

void PriorRecords::take(const QByteArray &scrambled, const QString &source)
{
    const QByteArray plain = transcodeBytes(scrambled, kExchangeKey);
    const ResultRecordReading reading = readResultRecord(plain);
    if (!reading.ok() || !reading.record->progress || !reading.record->answerSheet
        || reading.record->progress->sessionId.isEmpty()) {
        note(source, reading.ok() ? tr("不是本程序的考试记录") : reading.problem);
        return;
    }
    const ResultRecord &record = *reading.record;
    // Another examinee on this computer, or an earlier exam: not ours to offer.
    if (identity::personKey(record.department, record.examNumber, record.name)
                != identity::personKey(m_examinee.department, m_examinee.examNumber,
                                       m_examinee.name)
        || record.answerSheet->examDigest != m_examDigest
        || record.answerSheet->examMinutes != m_examMinutes || !ofThisPublication(record))
        return;
    // Anyone may write into the folder: in an exam with codes only what the
    // examinee's own code signed can lock them out or shorten their time.
    if (m_examinee.publication.codesRequired
        && !recordsignature::verifies(plain, record, m_examinee.recordKey)) {
        note(source, tr("签名不符"));
        return;
    }
    // A time outside the exam cannot be continued.
    if (record.timePass < 0 || record.timePass > qint32(m_examMinutes) * 60) {
        note(source, tr("用时不在考试时间之内"));
        return;
    }
    const ResultProgress &progress = *record.progress;
    // A session that never started has nothing to continue.
    if (progress.phase == ResultProgress::Phase::Waiting)
        return;
    if (progress.phase == ResultProgress::Phase::Finished) {
        m_finished.insert(progress.sessionId);
        return;
    }
    // The furthest point of a session wins: the checkpoint is usually ahead
    // of the last upload.
    const auto known = m_unfinished.constFind(progress.sessionId);
    if (known == m_unfinished.cend() || progress.sequence > known->progress->sequence
        || (progress.sequence == known->progress->sequence && record.timePass > known->timePass))
        m_unfinished.insert(progress.sessionId, record);
}

PriorRecords::Outcome PriorRecords::outcome(const QString &retakeSession) const
{
    for (const QString &session : m_finished) {
        if (session != retakeSession)
            return { Verdict::Finished, std::nullopt };
    }
    // Of two unfinished sessions, the one typed longer.
    const ResultRecord *furthest = nullptr;
    for (const ResultRecord &record : m_unfinished) {
        const QString &session = record.progress->sessionId;
        if (session != retakeSession && !m_finished.contains(session)
            && (!furthest || record.timePass > furthest->timePass))
            furthest = &record;
    }
    if (!furthest)
        return { Verdict::Fresh, std::nullopt };
    return { Verdict::Resume, *furthest };
}

QString PriorRecords::noteLine() const
{
    if (m_passedOver.isEmpty())
        return {};
    return tr("已忽略无法使用的考试记录：") + m_passedOver.join(tr("；"));
}
