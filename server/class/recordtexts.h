// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a record's texts tell against the exam, as a row shows it: the
// answer sheet scored again and the keystroke timeline examined. A
// collection examines them on its own thread and keeps only this.
#include "class/answercheck.h"
#include "class/plausibility.h"
#include "collect/resultcollector.h"
#include "timeline/machinetyping.h"

// What a finished record lacks of what every client of the exam writes
// (see ExamFacts::currentClients), one doubt for each part; an older
// client's ten lines are one doubt. Nothing for an exam older clients may
// sit.
QStringList formatDoubts(const ResultRecord &record, const ExamFacts &facts);

// The row's share of an answer check, a timeline's findings and what the
// record lacks.
TextFindings textFindings(const ResultRecord &record, const AnswerCheck &answer,
                          const TimelineFindings &timeline, const ExamFacts &facts);

// The examiner of a collection held against `facts`.
TextExaminer textExaminer(const ExamFacts &facts);
