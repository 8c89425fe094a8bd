// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/schoolreader.h"

namespace console {

namespace {

// How often a statement under way is looked at.
constexpr int kWatchMillis = 250;

}  // namespace

SchoolReader::SchoolReader(QObject *parent) : QObject(parent)
{
    m_watchClock.setInterval(kWatchMillis);
    connect(&m_watchClock, &QTimer::timeout, this, &SchoolReader::watch);
}

SchoolReader::~SchoolReader()
{
    m_stopping = true;
    m_watch.stop();
    // A connection serves only the thread that opened it.
    m_worker.runAndWait([this] { m_school.reset(); });
}

void SchoolReader::setPlace(const QString &place)
{
    m_worker.run([this, place] {
        if (place == m_place)
            return;
        m_place = place;
        m_school.reset();
    });
}

ExamArchive *SchoolReader::open()
{
    if (m_school)
        return m_school.get();
    m_school = std::make_unique<ExamArchive>(ArchivePlace::fromText(m_place));
    if (m_school->isOpen())
        return m_school.get();
    m_problem = m_school->startProblem();
    m_school.reset();
    return nullptr;
}

void SchoolReader::closeIfLost()
{
    // A server restarted or a statement cut: the next use connects anew.
    if (ConnectionWatch::lost(*m_school)) {
        m_lostAnswering = !m_watch.wasCut();
        m_school.reset();
    }
}

void SchoolReader::handedBack()
{
    if (--m_pending == 0)
        m_watchClock.stop();
}

void SchoolReader::watch()
{
    m_watch.cutIfStalled(m_stallMillis);
}

}  // namespace console
