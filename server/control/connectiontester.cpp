// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/connectiontester.h"

#include "control/schoolcontroller.h"

namespace console {

ConnectionTester::ConnectionTester(QObject *parent) : QObject(parent) { }

void ConnectionTester::start(const QString &place)
{
    if (m_running)
        return;
    m_running = true;
    m_worker.run([this, place] {
        const QString answer = SchoolController::testConnection(place);
        // Context `this`: the call is dropped when the owner has gone.
        QMetaObject::invokeMethod(
                this, [this, answer] { handBack(answer); }, Qt::QueuedConnection);
    });
}

void ConnectionTester::handBack(const QString &answer)
{
    m_running = false;
    emit finished(answer);
}

}  // namespace console
