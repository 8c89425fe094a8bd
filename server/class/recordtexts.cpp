// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/recordtexts.h"

TextFindings textFindings(const ResultRecord &record, const AnswerCheck &answer,
                          const TimelineFindings &timeline)
{
    TextFindings findings;
    if (const QString doubt = answerDoubt(record, answer); !doubt.isEmpty())
        findings.doubts << doubt;
    if (answer.verdict == AnswerCheck::Verdict::Agrees
        || answer.verdict == AnswerCheck::Verdict::Disagrees)
        findings.wrongCount = answer.figures.errorCount;
    findings.doubts << timeline.doubts;
    findings.lastMinuteSpeed = timeline.lastMinuteSpeed;
    return findings;
}

TextExaminer textExaminer(const ExamFacts &facts)
{
    // Everything of the exam that the two checks read, and the standard
    // they judge by.
    const QByteArray basis = facts.publishedDigest + ' ' + QByteArray::number(facts.examSeconds)
            + ' ' + QByteArray::number(qHash(facts.publishedText)) + ' '
            + facts.judging.toText().toUtf8();
    return { basis, [facts](const ResultRecord &record) {
                return textFindings(
                        record, checkAnswer(record, facts),
                        examineTimeline(record, facts.publishedText, facts.judging.typing));
            } };
}
