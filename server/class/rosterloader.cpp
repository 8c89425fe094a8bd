// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/rosterloader.h"

#include <utility>

RosterLoader::~RosterLoader()
{
    if (m_thread)
        m_thread->wait();
}

bool RosterLoader::start(const QString &path)
{
    if (m_thread)
        return false;
    m_thread.reset(QThread::create([this, path] { m_reading = ClassRoster::load(path); }));
    m_thread->setObjectName(QStringLiteral("roster"));
    // A finish that wait() already handed back must not hand back the next reading.
    const quint64 reading = ++m_started;
    connect(m_thread.get(), &QThread::finished, this, [this, reading] {
        if (reading == m_started)
            handBack();
    });
    m_thread->start();
    return true;
}

void RosterLoader::wait()
{
    handBack();
}

void RosterLoader::handBack()
{
    if (!m_thread)
        return;
    m_thread->wait();
    m_thread.reset();
    emit loaded(std::exchange(m_reading, ClassRoster::Reading()));
}
