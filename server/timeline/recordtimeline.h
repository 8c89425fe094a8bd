// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keystroke timeline a record carries in its "timeline" section.
#include "exchange/keytimeline.h"
#include "exchange/resultrecord.h"

#include <QString>

#include <optional>

struct RecordTimeline
{
    std::optional<KeyTimeline> timeline;  // none: an older client's record, or damaged
    QString problem;  // why a timeline that is there cannot be read; empty otherwise
};

RecordTimeline readRecordTimeline(const ResultRecord &record);

// A typed text with every line break as CR LF, as the answer sheet holds it;
// the timeline counts each break as one "\n".
QString withCrLf(QStringView text);
