// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sends the file's waiting exams to the school's database on a thread of
// its own: a server that is away takes seconds to give up on, longer than a
// window may stand still. The thread opens its own connections to the file
// and to the school, since a connection serves only the thread that opened
// it. One send at a time; one asked for meanwhile follows it. Its report is
// handed back on the thread that owns this object.
#include "archive/schooloutbox.h"

#include "control/workerthread.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <optional>

namespace console {

struct SchoolSend
{
    QString localPath;  // the console's archive file, the outbox
    QString school;  // the school archive's URI
    QString lab;
    QString teacher;
    // The exams kept before there was a school archive join the waiting ones first.
    bool keptBefore = false;
};

class SchoolSender : public QObject
{
    Q_OBJECT

public:
    explicit SchoolSender(QObject *parent = nullptr);
    // The exam being sent is cut short, no further one is begun; what did
    // not go stays in the file.
    ~SchoolSender() override;

    void start(const SchoolSend &send);
    bool busy() const { return m_running; }

signals:
    void finished(const SchoolOutbox::Report &report);

private:
    void handBack(const SchoolOutbox::Report &report);

    std::atomic<bool> m_stopping { false };
    ConnectionWatch m_watch;
    QTimer m_watchClock;
    bool m_running = false;
    std::optional<SchoolSend> m_next;
    WorkerThread m_worker { QStringLiteral("school-sender") };  // last: goes first
};

}  // namespace console
