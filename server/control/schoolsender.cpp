// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolsender.h"

namespace console {

SchoolSender::SchoolSender(QObject *parent) : QObject(parent) { }

SchoolSender::~SchoolSender()
{
    m_stopping = true;
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
    m_worker.run([this, send] {
        SchoolOutbox::Report report;
        {
            ExamArchive local(send.localPath);
            SchoolOutbox outbox(local, ArchivePlace::fromText(send.school), send.lab, send.teacher);
            report =
                    send.keptBefore ? outbox.sendKeptBefore(&m_stopping) : outbox.send(&m_stopping);
        }
        // Context `this`: the call is dropped when the owner has gone.
        QMetaObject::invokeMethod(
                this, [this, report] { handBack(report); }, Qt::QueuedConnection);
    });
}

void SchoolSender::handBack(const SchoolOutbox::Report &report)
{
    m_running = false;
    emit finished(report);
    if (m_next) {
        const SchoolSend next = *m_next;
        m_next.reset();
        start(next);
    }
}

}  // namespace console
