// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/classcontroller.h"

namespace console {

ClassController::ClassController(QObject *parent) : QObject(parent)
{
    connect(&m_rosters, &RosterLoader::loaded, this, &ClassController::takeRoster);
}

void ClassController::changed()
{
    emit rowsChanged();
    emit countsChanged();
}

void ClassController::show(const CollectionReport &report, const ExamFacts &facts)
{
    if (report.ok())
        m_live.update(report.results, facts, report.kept, report.sessions);
    changed();
}

void ClassController::clear()
{
    m_live.clear();
    changed();
}

QString ClassController::loadRoster(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (!m_rosters.start(path))
        return QStringLiteral("上一份名单还在载入，请稍候再载入。");
    // The counts line says that a list is being read.
    emit countsChanged();
    return {};
}

void ClassController::takeRoster(const ClassRoster::Reading &reading)
{
    if (reading.roster) {
        m_live.setRoster(reading.roster);
        changed();
    } else {
        emit countsChanged();
    }
    emit rosterLoaded(reading.roster ? reading.notice : reading.problem);
}

void ClassController::abandonRoster()
{
    disconnect(&m_rosters, nullptr, this, nullptr);
    m_rosters.wait();
}

}  // namespace console
