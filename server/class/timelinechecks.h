// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keystroke timelines of a whole collection examined. A record seen in
// the collection before is not examined again: the automatic collection
// runs every few seconds and a timeline takes a replay.
#include "class/plausibility.h"
#include "collect/resultcollector.h"
#include "timeline/machinetyping.h"

#include <QByteArray>
#include <QHash>
#include <QVector>

class TimelineChecks
{
public:
    QVector<TimelineFindings> check(const QVector<CollectedResult> &results,
                                    const ExamFacts &facts);

private:
    QHash<QByteArray, TimelineFindings> m_last;  // by everything the findings depend on
};
