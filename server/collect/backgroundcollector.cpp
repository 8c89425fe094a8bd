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
    KnownResultFiles known;  // what the collections before read
    CollectionWatch watch;

    CollectionReport collect(std::shared_ptr<const RecordKeys> keys, const TextExaminer &examiner)
    {
        if (!store)
            store = std::make_unique<ResultStore>(databasePath);
        if (!store->isOpen()) {
            CollectionReport report;
            report.problem = store->lastError();
            store.reset();
            return report;
        }
        ResultCollector collector(exchangeFolder, applicationFolder, *store, &known, &watch);
        // Its own thread: a key still being drawn is worth the wait.
        collector.checkSignatures(std::move(keys), true);
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
                                const TextExaminer &examiner)
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_running || m_report)
            return false;
        m_running = true;
    }
    QMetaObject::invokeMethod(m_worker, [this, keys = std::move(keys), examiner] {
        CollectionReport report = m_worker->collect(keys, examiner);
        {
            QMutexLocker lock(&m_mutex);
            m_report = std::move(report);
            m_running = false;
        }
        m_done.wakeAll();
        // Context `this`: the call is dropped when the owner has gone.
        QMetaObject::invokeMethod(this, &BackgroundCollector::handBack, Qt::QueuedConnection);
    });
    return true;
}

bool BackgroundCollector::busy() const
{
    QMutexLocker lock(&m_mutex);
    return m_running || m_report;
}

void BackgroundCollector::wait()
{
    {
        QMutexLocker lock(&m_mutex);
        while (m_running)
            m_done.wait(&m_mutex);
    }
    handBack();
}

void BackgroundCollector::handBack()
{
    std::optional<CollectionReport> report;
    {
        QMutexLocker lock(&m_mutex);
        report.swap(m_report);
    }
    if (report)
        emit finished(*report);
}
