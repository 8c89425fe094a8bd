// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examrecords.h"

ExamRecords::ExamRecords(ExamClock &clock, ExamSession &exam, const QString &workFolder,
                         TypedText typedText, QObject *parent)
    : QObject(parent),
      m_clock(clock),
      m_exam(exam),
      m_upload(workFolder),
      m_checkpoint(workFolder),
      m_typedText(std::move(typedText)),
      m_timeline(clock)
{
    m_stamp.setSigningKey(m_exam.examinee().recordKey);
    connect(&m_exam, &ExamSession::recordDue, this, &ExamRecords::send);
    connect(&m_exam, &ExamSession::resendDue, this, &ExamRecords::resend);
    connect(&m_upload, &ResultUpload::stateChanged, this, &ExamRecords::onUploadState);
    connect(&m_upload, &ResultUpload::writeOnceFound, &m_exam,
            [this] { m_exam.setProgressSeconds(ExamSession::kWriteOnceProgressSeconds); });
    connect(&m_clock, &ExamClock::progressDue, this, &ExamRecords::checkpointTyping);
}

void ExamRecords::resumeFrom(const ResumePoint &point)
{
    const ResultRecord &record = point.record;
    m_stamp.continueSession(record.progress->sessionId, record.progress->sequence);
    m_upload.continueAfterName(point.newestName);
    m_exam.resume(record.answerSheet->resumeCount + 1);
    m_clock.resumeAt(record.timePass);
    const RecordSection *section = findSection(record.sections, keytimeline::kSectionName);
    const auto earlier = section ? keytimeline::decode(section->bytes).timeline : std::nullopt;
    QString typed = record.answerSheet->typedText;
    typed.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_timeline.continueFrom(earlier.value_or(KeyTimeline {}), typed);
}

ResultRecord ExamRecords::takeRecord(ResultProgress::Phase phase)
{
    ResultRecord record = m_exam.takeRecord(phase, m_typedText());
    if (record.answerSheet)
        record.sections.push_back(m_timeline.section());
    return record;
}

void ExamRecords::send(ResultProgress::Phase phase)
{
    m_lastSent = m_stamp.next(takeRecord(phase));
    m_upload.save(m_lastSent, m_exam.examinee());
    // A checkpoint that cannot be written costs only the resume after a
    // crash; the exam and its uploads go on.
    m_checkpoint.write(m_lastSent);
}

void ExamRecords::resend()
{
    if (m_upload.state() == ResultUpload::State::Failed)
        m_upload.save(m_lastSent = m_stamp.next(m_lastSent), m_exam.examinee());
}

void ExamRecords::checkpointTyping()
{
    // Every 5 seconds of the exam, typed or not: the time used is kept too.
    if (m_exam.phase() == ExamSession::Phase::Typing)
        m_checkpoint.write(m_stamp.current(takeRecord(ResultProgress::Phase::Typing)));
}

void ExamRecords::onUploadState(ResultUpload::State state)
{
    emit uploadStateChanged(state);
    m_exam.onUploadState(state);
}
