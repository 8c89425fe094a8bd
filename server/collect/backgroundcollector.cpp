// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/backgroundcollector.h"

#include "collect/resultstore.h"

#include <memory>

// Lives on the worker thread; so do its database connection and collector.
struct BackgroundCollector::Worker : QObject
{
    QString exchangeFolder, applicationFolder, databasePath;
    std::unique_ptr<ResultStore> store;
    KnownResultFiles clockKnown;  // what the clock's collections before read
    KnownResultFiles examinerKnown;  // and the examiner's
    CollectionWatch watch;  // of the clock's collections

    CollectionReport collect(std::shared_ptr<const RecordKeys> keys, const TextExaminer &examiner,
                             Asker asker, const Prelude &prelude, QStringList &told)
    {
        if (!store)
            store = std::make_unique<ResultStore>(databasePath);
        if (!store->isOpen()) {
            CollectionReport report;
            report.problem = store->lastError();
            store.reset();
            return report;
        }
        if (prelude)
            told = prelude(*store);
        const bool byClock = asker == Asker::Clock;
        ResultCollector collector(exchangeFolder, applicationFolder, *store,
                                  byClock ? &clockKnown : &examinerKnown,
                                  byClock ? &watch : nullptr);
        // The clock's collections are not waited for: a key still being
        // drawn is worth their wait. The examiner waits for the answer.
        collector.checkSignatures(std::move(keys), byClock);
        return collector.collect(examiner);
    }
};

BackgroundCollector::BackgroundCollector(QString exchangeFolder, QString applicationFolder,
                                         QString databasePath, QObject *parent)
    : QObject(parent), m_worker(new Worker)
{
    m_worker->exchangeFolder = std::move(exchangeFolder);
    m_worker->applicationFolder = std::move(applicationFolder);
    m_worker->databasePath = std::move(databasePath);
    m_worker->moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("collector"));
    m_thread.start();
}

BackgroundCollector::~BackgroundCollector()
{
    wait();
    // The connection is closed on the thread that opened it.
    QMetaObject::invokeMethod(
            m_worker, [worker = m_worker] { worker->store.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

bool BackgroundCollector::start(std::shared_ptr<const RecordKeys> keys,
                                const TextExaminer &examiner, Asker asker, Prelude prelude)
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_running || m_report)
            return false;
        m_running = true;
        m_asker = asker;
    }
    QMetaObject::invokeMethod(
            m_worker,
            [this, keys = std::move(keys), examiner, asker, prelude = std::move(prelude)] {
                QStringList told;
                CollectionReport report = m_worker->collect(keys, examiner, asker, prelude, told);
                {
                    QMutexLocker lock(&m_mutex);
                    m_report = std::move(report);
                    m_told = std::move(told);
                    m_running = false;
                }
                m_done.wakeAll();
                // Context `this`: the call is dropped when the owner has gone.
                QMetaObject::invokeMethod(this, &BackgroundCollector::handBack,
                                          Qt::QueuedConnection);
            });
    return true;
}

bool BackgroundCollector::busy() const
{
    QMutexLocker lock(&m_mutex);
    return m_running || m_report;
}

bool BackgroundCollector::wait(QDeadlineTimer deadline)
{
    // Whoever the report is handed to may start the next collection.
    while (busy()) {
        {
            QMutexLocker lock(&m_mutex);
            while (m_running) {
                if (!m_done.wait(&m_mutex, deadline))
                    return false;
            }
        }
        handBack();
    }
    return true;
}

void BackgroundCollector::handBack()
{
    std::optional<CollectionReport> report;
    Asker asker;
    QStringList told;
    {
        QMutexLocker lock(&m_mutex);
        report.swap(m_report);
        asker = m_asker;
        told.swap(m_told);
    }
    if (report)
        emit finished(*report, asker, told);
}
