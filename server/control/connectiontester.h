// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests the connection to a school archive on a thread of its own. One
// test at a time; the answer is handed back on the thread that owns this
// object.
#include "control/workerthread.h"

#include <QObject>

namespace console {

class ConnectionTester : public QObject
{
    Q_OBJECT

public:
    // Going, it waits for the test under way (the connection's timeouts bound it).
    explicit ConnectionTester(QObject *parent = nullptr);

    // Starts testing `place`; ignored while a test runs.
    void start(const QString &place);
    bool busy() const { return m_running; }

signals:
    // What is wrong, or that the archive answers.
    void finished(const QString &answer);

private:
    void handBack(const QString &answer);

    bool m_running = false;
    WorkerThread m_worker { QStringLiteral("connection-test") };  // last: goes first
};

}  // namespace console
