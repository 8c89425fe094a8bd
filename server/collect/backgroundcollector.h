// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's collections, run on a thread of their own: reading a
// class's files and writing the results database through to the disk may
// take longer than a window may stand still. One collection at a time; its
// report is handed back on the thread that owns this object.
#include "collect/resultcollector.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QWaitCondition>

#include <memory>
#include <optional>

class BackgroundCollector : public QObject
{
    Q_OBJECT

public:
    // The worker opens the database file with a connection of its own.
    BackgroundCollector(QString exchangeFolder, QString applicationFolder, QString databasePath,
                        QObject *parent = nullptr);
    ~BackgroundCollector() override;

    // Who asked for a collection. The clock's wait for keys still being
    // drawn and hold sessions to what the watching console saw of them. The
    // examiner's answer without waiting for keys (such records show as not
    // checked yet) and keep their own account of the files read.
    enum class Asker { Clock, Examiner };
    Q_ENUM(Asker)

    // Starts a collection, with the keys that records must be signed with
    // when the exam requires login codes, examining records with `examiner`
    // (see ResultCollector::collect); false, and nothing started, while one
    // is under way or its report has not been handed back yet.
    bool start(std::shared_ptr<const RecordKeys> keys = {}, const TextExaminer &examiner = {},
               Asker asker = Asker::Clock);
    bool busy() const;
    // Waits for the collection under way, if any, and hands its report back
    // before returning, as well as that of any collection the hand-back
    // started: afterwards the database is the caller's alone. False when
    // the deadline passed first.
    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

signals:
    void finished(const CollectionReport &report, BackgroundCollector::Asker asker);

private:
    struct Worker;
    void handBack();

    QThread m_thread;
    Worker *m_worker = nullptr;
    mutable QMutex m_mutex;
    QWaitCondition m_done;
    bool m_running = false;
    std::optional<CollectionReport> m_report;
    Asker m_asker = Asker::Clock;  // of the collection under way or handed back next
};
