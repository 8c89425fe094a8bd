// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examinee's result on its way to the exchange folder: written locally,
// scrambled, as sc1.zip, and uploaded under the examinee's result file name.
// The newest record always wins: it waits for the channel and goes out as
// soon as the channel is free, and an older record that has not gone out yet
// is dropped in its favour. A failed upload is tried again a few times after
// a short pause; the state says truthfully whether the newest record has
// arrived.
//
// Records go out as stamped (RecordStamp). On a service that refuses to
// replace a file (write-once), each record is stored under a new name of the
// examinee's, "<name>~2.zip", "~3" ...; other files are never touched. A
// folder under the name the records go to (made by someone in the exchange
// folder) holds that name for good: the records go under the next free one.
#include "transfer/examinee.h"
#include "exchange/resultrecord.h"
#include "transfer/transferchannel.h"
#include "exchange/wholefile.h"

#include <QLocale>
#include <QObject>
#include <QString>

#include <functional>

class ResultUpload : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,  // nothing saved yet
        Uploading,  // the newest record is on its way (or waiting to retry)
        Delivered,  // the newest record is in the exchange folder
        Failed,  // every attempt failed; retry() starts over
    };
    Q_ENUM(State)

    // Calls `retry` after a pause; `attempt` counts the failed attempts so
    // far (1 after the first failure).
    using RetryScheduler = std::function<void(int attempt, std::function<void()> retry)>;

    static constexpr int kDefaultAttempts = 4;

    explicit ResultUpload(const QString &workingFolder, QObject *parent = nullptr);

    // The most names one upload tries on a write-once service before it
    // counts as failed: an examinee who logs in again skips the names of the
    // earlier session.
    static constexpr int kMaxNewNames = 200;

    // Writes the record scrambled into sc1.zip, reads that back, queues the
    // upload to examinee.serverIP, and removes te.txt and se.dll. Returns the problem when sc1.zip
    // could not be written or does not read back as this record; the state is then Failed (reported
    // even when it was Failed before) and nothing new goes out, so an earlier record on the service
    // stays as it was.
    QString save(const ResultRecord &record, const Examinee &examinee);
    // save() in two steps, the first on any thread: the record scrambled into
    // sc1.zip in workingFolder and read back (the bytes, or the problem), ...
    static wholefile::Reading writeLocal(const QString &workingFolder, const ResultRecord &record);
    // ... then, on this object's thread, the upload of the bytes written, or
    // for the problem the Failed state (unless a later record is due).
    // Returns the problem.
    QString sendWritten(const wholefile::Reading &written, const Examinee &examinee);
    // A newer record is being prepared for save(): the state is Uploading
    // from now on, and an earlier record's outcome is no longer reported nor
    // retried. Each call announces one record; until each has been saved,
    // none of them counts as arrived.
    void expectRecord();

    // A resumed session: the highest "~N" its examinee's names reached; the
    // next record follows it (under a new name when N is above 1, as on a
    // write-once service).
    void continueAfterName(int newestName);

    State state() const { return m_state; }
    // The remote name of the last saved record.
    QString remoteName() const { return m_remoteName; }
    // Whether the service has refused to replace a record of this session.
    bool writeOnce() const { return m_writeOnce; }
    // The scrambled record kept locally, in native form; empty when the
    // last record could not be written there.
    QString localRecordPath() const;
    // Why the last record could not be written locally; empty when it was.
    QString localProblem() const { return m_localProblem; }

    void setAttempts(int attempts) { m_attempts = std::max(1, attempts); }
    // The default waits 1, 2, 4 ... seconds on a timer.
    void setRetryScheduler(RetryScheduler scheduler) { m_scheduler = std::move(scheduler); }
    TransferChannel &channel() { return m_channel; }

signals:
    void stateChanged(ResultUpload::State state);
    // The first time the service refused to replace a record.
    void writeOnceFound();

private:
    void startWhenFree();
    void onChannelFinished(TransferChannel::Outcome outcome);
    bool storeUnderNewName(TransferChannel::Outcome outcome);
    void setState(State state, bool always = false);

    QString m_folder;
    TransferChannel m_channel;
    RetryScheduler m_scheduler;
    int m_attempts = kDefaultAttempts;

    Examinee m_examinee;
    QString m_remoteName;
    QString m_localProblem;
    QByteArray m_recordBytes;  // of the newest record written
    bool m_writeOnce = false;
    int m_nameNumber = 1;  // ~N of the name of the put under way; 1 is the plain name
    // ~N of the name every record replaces on a service that replaces files:
    // the plain name, unless a folder took it.
    int m_ownName = 1;
    int m_takenName = 0;  // ~N of the highest name known to be taken on the service
    int m_newNames = 0;  // names tried by the running upload
    State m_state = State::Idle;
    bool m_waiting = false;  // the newest record has not been handed to the channel
    // Records announced by expectRecord() and not saved yet: while one is
    // on its way, an earlier record's arrival is not the newest's.
    int m_expected = 0;
    bool m_inFlight = false;  // our put is running
    int m_failures = 0;
    int m_round = 0;  // a retry scheduled in an earlier round is void
};

// The examinee's record file name in the exchange folder, by the rule both
// programs share (resultname::forIdentity).
QString resultFileName(const Examinee &examinee, int number = 1);

// What became of the final record, as the information line opens after a
// finish. Only a delivered record is called saved.
QString finishOutcome(ResultUpload::State state);
// The information line after a finish: the outcome, then speed and accuracy
// in their shortest form with the locale's decimal point.
QString finishText(const QString &outcome, float speed, float accuracy,
                   const QLocale &locale = QLocale());
