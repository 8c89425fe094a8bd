// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests the connection to a school archive on a thread of its own: a
// server that is away takes seconds to give up on, longer than a window
// may stand still. One test at a time; the answer is handed back on the
// thread that owns this object.
#include <QObject>
#include <QThread>

namespace console {

class ConnectionTester : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionTester(QObject *parent = nullptr);
    // Waits for the test under way (the connection's timeouts bound it).
    ~ConnectionTester() override;

    // Starts testing `place`; ignored while a test runs.
    void start(const QString &place);
    bool busy() const { return m_running; }

signals:
    // What is wrong, or that the archive answers.
    void finished(const QString &answer);

private:
    void handBack(const QString &answer);

    QThread m_thread;
    QObject m_threadContext;  // lives on m_thread: the tests run there
    bool m_running = false;
};

}  // namespace console
