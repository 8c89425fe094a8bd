// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examrecords.h"

#include <utility>

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
    connect(&m_checkpointTimeline, &QFutureWatcher<RecordSection>::finished, this,
            &ExamRecords::writeEncodedCheckpoint);
}

ExamRecords::~ExamRecords()
{
    if (!m_pendingCheckpoint)
        return;
    m_checkpointTimeline.waitForFinished();
    writeEncodedCheckpoint();
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
    m_pendingCheckpoint.reset();
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
    if (m_exam.phase() != ExamSession::Phase::Typing)
        return;
    // The text and the timeline of the same moment; the timeline's
    // compression runs away from the typing.
    m_pendingCheckpoint =
            m_stamp.current(m_exam.takeRecord(ResultProgress::Phase::Typing, m_typedText()));
    m_checkpointTimeline.setFuture(m_timeline.sectionInBackground());
}

void ExamRecords::writeEncodedCheckpoint()
{
    std::optional<ResultRecord> record = std::exchange(m_pendingCheckpoint, std::nullopt);
    if (!record || m_checkpointTimeline.future().resultCount() == 0)
        return;
    if (record->answerSheet)
        record->sections.push_back(m_checkpointTimeline.result());
    m_checkpoint.write(*record);
}

void ExamRecords::onUploadState(ResultUpload::State state)
{
    emit uploadStateChanged(state);
    m_exam.onUploadState(state);
}
