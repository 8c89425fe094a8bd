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
      m_typedText(std::move(typedText)),
      m_timeline(clock),
      m_writer(workFolder)
{
    m_stamp.setSigningKey(m_exam.examinee().recordKey);
    connect(&m_exam, &ExamSession::recordDue, this, &ExamRecords::send);
    connect(&m_exam, &ExamSession::resendDue, this, &ExamRecords::resend);
    connect(&m_upload, &ResultUpload::stateChanged, this, &ExamRecords::onUploadState);
    connect(&m_upload, &ResultUpload::writeOnceFound, &m_exam,
            [this] { m_exam.setProgressSeconds(ExamSession::kWriteOnceProgressSeconds); });
    connect(&m_clock, &ExamClock::progressDue, this, &ExamRecords::checkpointTyping);
    connect(&m_writer, &RecordFileWriter::written, this, &ExamRecords::onWritten);
}

ExamRecords::~ExamRecords()
{
    for (const Pending &pending : m_pending)
        pending.timeline->waitForFinished();
    writeEncoded();
    m_writer.waitForWritten();
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

void ExamRecords::send(ResultProgress::Phase phase)
{
    // The checkpoints waiting for their timeline are superseded: this record
    // is checkpointed too once it is written.
    for (auto pending = m_pending.begin(); pending != m_pending.end();) {
        if (pending->sent) {
            ++pending;
            continue;
        }
        pending->timeline->deleteLater();
        pending = m_pending.erase(pending);
    }
    ResultRecord record = m_exam.takeRecord(phase, m_typedText());
    // From now on the upload's state is this record's: the session must not
    // take an earlier record's arrival for it.
    m_upload.expectRecord();
    encodeTimelineOf(std::move(record), true);
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
        encodeTimelineOf(m_exam.takeRecord(ResultProgress::Phase::Typing, m_typedText()), false);
}

void ExamRecords::encodeTimelineOf(ResultRecord record, bool sent)
{
    // The text and the timeline of the same moment.
    auto *timeline = new QFutureWatcher<RecordSection>(this);
    connect(timeline, &QFutureWatcher<RecordSection>::finished, this, &ExamRecords::writeEncoded);
    timeline->setFuture(m_timeline.sectionInBackground());
    m_pending.push_back({ std::move(record), sent, timeline });
}

void ExamRecords::writeEncoded()
{
    while (!m_pending.empty() && m_pending.front().timeline->future().isFinished()) {
        Pending pending = std::move(m_pending.front());
        m_pending.pop_front();
        pending.timeline->deleteLater();
        if (pending.record.answerSheet)
            pending.record.sections.push_back(pending.timeline->result());
        if (!pending.sent) {
            m_writer.write(m_stamp.current(std::move(pending.record)), false);
            continue;
        }
        m_lastSent = m_stamp.next(std::move(pending.record));
        m_writer.write(m_lastSent, true);
    }
}

void ExamRecords::onWritten(bool sent, const wholefile::Reading &recordFile)
{
    if (sent)
        m_upload.sendWritten(recordFile, m_exam.examinee());
}

void ExamRecords::onUploadState(ResultUpload::State state)
{
    emit uploadStateChanged(state);
    m_exam.onUploadState(state);
}
