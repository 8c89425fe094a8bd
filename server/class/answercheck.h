// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A record's answer sheet held against the exam as published: the figures
// recomputed from the typed text by the rule the client scores with, and
// whether they are the ones the record claims.
#include "exchange/answercomparison.h"
#include "class/plausibility.h"
#include "collect/resultcollector.h"
#include "exchange/resultrecord.h"

#include <QString>
#include <QVector>

struct AnswerCheck
{
    enum class Verdict {
        NoSheet,  // the record carries no answer sheet
        NoText,  // the console kept no copy of the published text
        OtherExam,  // typed against another text or exam time
        Agrees,
        Disagrees,
    };
    Verdict verdict = Verdict::NoSheet;
    AnswerFigures figures;  // recomputed, for Agrees and Disagrees
};

AnswerCheck checkAnswer(const ResultRecord &record, const ExamFacts &facts);
// The reason a row is doubtful for, empty when the sheet gives none.
QString answerDoubt(const ResultRecord &record, const AnswerCheck &check);
