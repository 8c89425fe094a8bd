// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A thread of its own for work that may take seconds (a server that is
// away takes that long to give up on), longer than a window may stand
// still. Going, it lets the work under way finish and begins no more: the
// owner declares it last, so that it goes first.
#include <QObject>
#include <QThread>

namespace console {

class WorkerThread
{
public:
    explicit WorkerThread(const QString &name);
    ~WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Runs `work` on the thread, after what was asked before.
    template <typename Work>
    void run(Work &&work)
    {
        QMetaObject::invokeMethod(&m_context, std::forward<Work>(work));
    }
    // The same, waiting until it has run.
    template <typename Work>
    void runAndWait(Work &&work)
    {
        QMetaObject::invokeMethod(&m_context, std::forward<Work>(work),
                                  Qt::BlockingQueuedConnection);
    }

private:
    QThread m_thread;
    QObject m_context;  // lives on m_thread: the work runs there
};

}  // namespace console
