#pragma once
// The examinee's result on its way to the exchange folder: written locally as
// sc.zip, scrambled into sc1.zip, and uploaded under the examinee's result
// file name. The newest record always wins: it waits for the channel and goes
// out as soon as the channel is free, and an older record that has not gone
// out yet is dropped in its favour. A failed upload is tried again a few times
// after a short pause; the state says truthfully whether the newest record has
// arrived.
#include "examinee.h"
#include "resultrecord.h"
#include "transferchannel.h"

#include <QLocale>
#include <QObject>
#include <QString>

#include <functional>

class ResultUpload : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,       // nothing saved yet
        Uploading,  // the newest record is on its way (or waiting to retry)
        Delivered,  // the newest record is in the exchange folder
        Failed,     // every attempt failed; retry() starts over
    };
    Q_ENUM(State)

    // Calls `retry` after a pause; `attempt` counts the failed attempts so
    // far (1 after the first failure).
    using RetryScheduler = std::function<void(int attempt, std::function<void()> retry)>;

    static constexpr int kDefaultAttempts = 4;

    explicit ResultUpload(const QString &workingFolder, QObject *parent = nullptr);

    // Writes sc.zip with the record, scrambles it into sc1.zip, queues the
    // upload to examinee.serverIP, and removes te.txt, se.dll and sc.zip.
    // Returns false when the local files could not be written; the state is
    // then Failed and nothing new goes out.
    bool save(const ResultRecord &record, const Examinee &examinee);

    // After Failed: saves the last record again and starts a new round of
    // attempts.
    void retry();

    State state() const { return m_state; }
    // The remote name of the last saved record.
    QString remoteName() const { return m_remoteName; }

    void setAttempts(int attempts) { m_attempts = std::max(1, attempts); }
    // The default waits 1, 2, 4 ... seconds on a timer.
    void setRetryScheduler(RetryScheduler scheduler) { m_scheduler = std::move(scheduler); }
    TransferChannel &channel() { return m_channel; }

signals:
    void stateChanged(ResultUpload::State state);

private:
    void startWhenFree();
    void onChannelState(int code);
    void setState(State state);

    QString m_folder;
    TransferChannel m_channel;
    RetryScheduler m_scheduler;
    int m_attempts = kDefaultAttempts;

    ResultRecord m_record;
    Examinee m_examinee;
    QString m_remoteName;
    State m_state = State::Idle;
    bool m_waiting = false;   // the newest record has not been handed to the channel
    bool m_inFlight = false;  // our put is running
    int m_failures = 0;
    int m_round = 0;          // a retry scheduled in an earlier round is void
};

// The record's file name in the exchange folder: department "-" exam number
// "-" name ".zip". Signs that no file name may hold or that would lead out of
// the folder (/ \ : * ? " < > |, control characters, a leading "..") become
// "_"; blanks and everything else stay as typed.
QString resultFileName(const Examinee &examinee);

// The information line after a finish. Only a delivered record is called
// saved; speed and accuracy in their shortest form with the locale's decimal
// point.
QString finishText(ResultUpload::State state, float speed, float accuracy,
                   const QLocale &locale = QLocale());
