// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/connectiontester.h"

#include "control/schoolcontroller.h"

namespace console {

ConnectionTester::ConnectionTester(QObject *parent) : QObject(parent)
{
    m_threadContext.moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("connection-test"));
    m_thread.start();
}

ConnectionTester::~ConnectionTester()
{
    m_thread.quit();
    m_thread.wait();
}

void ConnectionTester::start(const QString &place)
{
    if (m_running)
        return;
    m_running = true;
    QMetaObject::invokeMethod(&m_threadContext, [this, place] {
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
