// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the answer-sheet window shows for one row of the class, without
// widgets: the published text marked position by position against the typed
// text (right, wrong, not typed), the figures scored again from it beside
// the record's own, the time, the session and the row's doubts; and from
// the record's keystroke timeline the speed curve and the replay.
#include "exchange/answercomparison.h"
#include "class/liveclass.h"
#include "class/plausibility.h"
#include "collect/resultcollector.h"
#include "timeline/typingcurve.h"
#include "timeline/typingreplay.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

class AnswerSheetPage
{
    Q_DECLARE_TR_FUNCTIONS(AnswerSheetPage)
public:
    enum class Mark { Right, Wrong, Missing };
    // A stretch of the sheet as shown, of one mark, line breaks as '\n'. A
    // wrong piece is one place of the text (a line break one place, shown
    // as ↵ before it) with what was typed there.
    struct Piece
    {
        Mark mark = Mark::Right;
        QString text;
        QString typed;  // wrong pieces: as shown, a line break as ↵
        QString note;  // wrong pieces: "应为“代”，打成“在”"

        friend bool operator==(const Piece &a, const Piece &b)
        {
            return a.mark == b.mark && a.text == b.text && a.typed == b.typed && a.note == b.note;
        }
    };

    // `result` is the row's collected record; null for a row kept from an
    // earlier collection whose file is gone. The row numbers its login.
    AnswerSheetPage(const ClassViewRow &row, const CollectedResult *result, const ExamFacts &facts);

    QString title() const;
    // Why nothing is compared; empty when the sheet is shown.
    const QString &notice() const { return m_notice; }
    // The pieces cover the published text but a final line break left untyped.
    const QVector<Piece> &pieces() const { return m_pieces; }
    // What was typed beyond the end of the published text, as shown.
    const QString &typedBeyond() const { return m_beyond; }
    QString recomputedLine() const;
    // Where an extra or a missing character shifted the rest of the typing,
    // and what aligning the texts would score; empty when nothing slipped.
    const QString &slipLine() const { return m_slipLine; }
    QString recordLine() const;
    QString timeLine() const;
    QString sessionLine() const;
    const QStringList &doubts() const { return m_row.doubts; }

    // The speed curve, when the record carries a timeline that can be read.
    const std::optional<TypingCurve> &curve() const { return m_curve; }
    // The replay, when the timeline keeps every edit and they replay into
    // the sheet's typed text (the curve too, unless the timeline is coarse).
    const std::optional<TypingReplay> &replay() const { return m_replay; }
    // What the replay colours against: the published text, empty when the
    // sheet was typed against another one or none is kept.
    const QString &comparedText() const { return m_compared; }
    // Why there is no curve or no replay; empty when both are there.
    const QString &timelineNotice() const { return m_timelineNotice; }

private:
    ClassViewRow m_row;
    qint32 m_examSeconds = 0;
    QString m_notice;
    QVector<Piece> m_pieces;
    QString m_beyond;
    std::optional<AnswerFigures> m_figures;
    QString m_slipLine;
    int m_missing = 0;
    int m_resumeCount = 0;
    std::optional<TypingCurve> m_curve;
    std::optional<TypingReplay> m_replay;
    QString m_compared;
    QString m_timelineNotice;

    void readTimeline(const ResultRecord &record);
};
