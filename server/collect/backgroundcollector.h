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

#include <functional>
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

    // Work on the results database, done on the worker's thread with its
    // connection just before a collection; what it tells is handed back
    // with the report.
    using Prelude = std::function<QStringList(ResultStore &store)>;

    // Starts a collection, with the keys that records must be signed with
    // when the exam requires login codes, examining records with `examiner`
    // (see ResultCollector::collect), after `prelude` when there is one;
    // false, and nothing started, while one is under way or its report has
    // not been handed back yet.
    bool start(std::shared_ptr<const RecordKeys> keys = {}, const TextExaminer &examiner = {},
               Asker asker = Asker::Clock, Prelude prelude = {});
    bool busy() const;
    // Waits for the collection under way, if any, and hands its report back
    // before returning, as well as that of any collection the hand-back
    // started: afterwards the database is the caller's alone. False when
    // the deadline passed first.
    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

signals:
    // `told`: what the collection's prelude told; none without one, or
    // when the database could not be opened for it.
    void finished(const CollectionReport &report, BackgroundCollector::Asker asker,
                  const QStringList &told);

private:
    struct Worker;
    void handBack();

    QThread m_thread;
    Worker *m_worker = nullptr;
    mutable QMutex m_mutex;
    QWaitCondition m_done;
    bool m_running = false;
    std::optional<CollectionReport> m_report;
    QStringList m_told;  // by the prelude of the report handed back next
    Asker m_asker = Asker::Clock;  // of the collection under way or handed back next
};
