// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/workerthread.h"

namespace console {

WorkerThread::WorkerThread(const QString &name)
{
    m_context.moveToThread(&m_thread);
    m_thread.setObjectName(name);
    m_thread.start();
}

WorkerThread::~WorkerThread()
{
    m_thread.quit();
    m_thread.wait();
}

}  // namespace console
