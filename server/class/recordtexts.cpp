// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/recordtexts.h"

#include "exchange/publication.h"

#include <QCoreApplication>

QStringList formatDoubts(const ResultRecord &record, const ExamFacts &facts)
{
    if (!facts.currentClients)
        return {};
    if (!record.progress)
        return { QCoreApplication::translate("Recordtexts",
                                             "旧版格式的成绩记录：没有考试过程、答卷和按键记录，"
                                             "这次考试的考生端不会写出这样的记录") };
    // Records on the way are notes of progress; a session's later records
    // are held to its earlier timeline where it is followed.
    if (record.progress->phase != ResultProgress::Phase::Finished)
        return {};
    QStringList doubts;
    if (!record.answerSheet)
        doubts << QCoreApplication::translate("Recordtexts", "缺少答卷");
    if (!findSection(record.sections, keytimeline::kSectionName))
        doubts << QCoreApplication::translate("Recordtexts", "缺少按键记录");
    if (publicationOf(record.sections).isEmpty())
        doubts << QCoreApplication::translate("Recordtexts", "缺少考试发布标识");
    return doubts;
}

TextFindings textFindings(const ResultRecord &record, const AnswerCheck &answer,
                          const TimelineFindings &timeline, const ExamFacts &facts)
{
    TextFindings findings;
    findings.doubts << formatDoubts(record, facts);
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
            + facts.judging.texts().join(u' ').toUtf8() + (facts.currentClients ? " current" : "");
    return { basis, [facts](const ResultRecord &record) {
                return textFindings(
                        record, checkAnswer(record, facts),
                        examineTimeline(record, facts.publishedText, facts.judging.typing), facts);
            } };
}
