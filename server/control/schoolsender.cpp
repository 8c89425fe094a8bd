// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolsender.h"

#include "control/schoolreader.h"

namespace console {

namespace {

// How often the keep under way is looked at.
constexpr int kWatchMillis = 1000;

}  // namespace

SchoolSender::SchoolSender(QObject *parent) : QObject(parent)
{
    m_watchClock.setInterval(kWatchMillis);
    connect(&m_watchClock, &QTimer::timeout, this,
            [this] { m_watch.cutIfStalled(SchoolReader::kStallMillis); });
}

SchoolSender::~SchoolSender()
{
    m_stopping = true;
    // A server that stopped answering would hold the console's end for ever.
    m_watch.stop();
}

void SchoolSender::start(const SchoolSend &send)
{
    if (m_running) {
        // The newest setting, and the exams kept before if either asked for them.
        const bool keptBefore = send.keptBefore || (m_next && m_next->keptBefore);
        m_next = send;
        m_next->keptBefore = keptBefore;
        return;
    }
    m_running = true;
    m_watchClock.start();
    m_worker.run([this, send] {
        SchoolOutbox::Report report;
        {
            ExamArchive local(send.localPath);
            SchoolOutbox outbox(local, ArchivePlace::fromText(send.school), send.lab, send.teacher);
            report = send.keptBefore ? outbox.sendKeptBefore(&m_stopping, &m_watch)
                                     : outbox.send(&m_stopping, &m_watch);
        }
        // Context `this`: the call is dropped when the owner has gone.
        QMetaObject::invokeMethod(
                this, [this, report] { handBack(report); }, Qt::QueuedConnection);
    });
}

void SchoolSender::handBack(const SchoolOutbox::Report &report)
{
    m_running = false;
    m_watchClock.stop();
    emit finished(report);
    if (m_next) {
        const SchoolSend next = *m_next;
        m_next.reset();
        start(next);
    }
}

}  // namespace console
