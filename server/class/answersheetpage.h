// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the answer-sheet window shows for one row of the class, without
// widgets: the published text marked position by position against the typed
// text (right, wrong, not typed), the figures scored again from it beside
// the record's own, the time, the session and the row's doubts.
#include "answercomparison.h"
#include "class/liveclass.h"
#include "class/plausibility.h"
#include "collect/resultcollector.h"

#include <QString>
#include <QStringList>
#include <QVector>

class AnswerSheetPage
{
public:
    enum class Mark { Right, Wrong, Missing };
    // Consecutive positions of the published text with one mark.
    struct Run
    {
        int start = 0;
        int length = 0;
        Mark mark = Mark::Right;
    };

    // `result` is the row's collected record; null for a row kept from an
    // earlier collection whose file is gone.
    AnswerSheetPage(const ClassViewRow &row, const CollectedResult *result, const ExamFacts &facts);

    QString title() const;
    // Why nothing is compared; empty when the sheet is shown.
    const QString &notice() const { return m_notice; }
    const QString &publishedText() const { return m_published; }
    // The runs cover the published text but a final line break left untyped.
    const QVector<Run> &runs() const { return m_runs; }
    // What was typed beyond the end of the published text.
    const QString &typedBeyond() const { return m_beyond; }
    QString recomputedLine() const;
    QString recordLine() const;
    QString timeLine() const;
    QString sessionLine() const;
    const QStringList &doubts() const { return m_row.doubts; }

private:
    ClassViewRow m_row;
    qint32 m_examSeconds = 0;
    QString m_notice;
    QString m_published;
    QVector<Run> m_runs;
    QString m_beyond;
    std::optional<AnswerFigures> m_figures;
    int m_missing = 0;
    QString m_sessionId;
    int m_resumeCount = 0;
};
