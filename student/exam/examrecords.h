// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The records of one exam session on their way, without widgets. Each record
// the session calls for is taken with the typed text, stamped once (session
// id, sequence), checkpointed and sent; while the examinee types, the
// checkpoint follows the clock. Every record carries the keystroke timeline,
// compressed on a worker thread: records wait for theirs in the order they
// were taken, and their files are then written on a worker of their own
// before the upload starts. The upload's states go to the session.
#include "exam/examclock.h"
#include "exam/examsession.h"
#include "exam/timelinerecorder.h"
#include "transfer/priorrecords.h"
#include "transfer/recordstamp.h"
#include "transfer/recordfilewriter.h"
#include "transfer/resultupload.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class ExamRecords : public QObject
{
    Q_OBJECT

public:
    // The text typed so far, line breaks as CR LF.
    using TypedText = std::function<QString()>;

    ExamRecords(ExamClock &clock, ExamSession &exam, const QString &workFolder, TypedText typedText,
                QObject *parent = nullptr);
    // Records still being encoded or written are written before the records
    // go.
    ~ExamRecords() override;

    // An unfinished session continued after a crash: its id and numbers go
    // on, and the session and the clock resume at its furthest record.
    void resumeFrom(const ResumePoint &point);

    ResultUpload &upload() { return m_upload; }
    const ResultUpload &upload() const { return m_upload; }
    QString sessionId() const { return m_stamp.sessionId(); }
    // What the typing box reports its keys and changes to.
    TimelineRecorder &timeline() { return m_timeline; }
    // Where the records' files go to the disk, one after another.
    RecordFileWriter &writer() { return m_writer; }

public slots:
    // Takes the record of this phase; once its timeline is encoded, stamps
    // it, and once it is written and checkpointed, sends it.
    void send(ResultProgress::Phase phase);
    // After the upload failed: the last record again, under the next number.
    void resend();

signals:
    // Each state of the upload, before the session hears of it.
    void uploadStateChanged(ResultUpload::State state);

private:
    // A record taken, waiting for its timeline: one to send, or the typing
    // checkpoint.
    struct Pending
    {
        ResultRecord record;
        bool sent = false;
        // A child of this, deleted later when done with: its own finished()
        // may be the signal being handled.
        QFutureWatcher<RecordSection> *timeline = nullptr;
    };

    void checkpointTyping();
    void encodeTimelineOf(ResultRecord record, bool sent);
    void writeEncoded();
    void onWritten(bool sent, const wholefile::Reading &recordFile);
    void onUploadState(ResultUpload::State state);

    ExamClock &m_clock;
    ExamSession &m_exam;
    RecordStamp m_stamp;
    ResultUpload m_upload;
    TypedText m_typedText;
    TimelineRecorder m_timeline;
    ResultRecord m_lastSent;
    // Oldest first; a record sent supersedes the checkpoints before it.
    std::deque<Pending> m_pending;
    RecordFileWriter m_writer;
};
