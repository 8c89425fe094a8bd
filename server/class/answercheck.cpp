// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/answercheck.h"

#include "exchange/numbers.h"

#include <cmath>
#include <QCoreApplication>

namespace {

// The record's figures are singles of two decimals; read back they may
// differ from the recomputed ones in the last bit.
bool sameFigure(float recorded, float recomputed)
{
    return std::abs(double(recorded) - double(recomputed)) < 0.006;
}

QString figuresText(float speed, float accuracy, qint32 typedLen)
{
    return QCoreApplication::translate("AnswerCheck", "速度%1，正确率%2％，打字数%3")
            .arg(numbers::speedText(speed), numbers::singleText(accuracy))
            .arg(typedLen);
}

}  // namespace

AnswerCheck checkAnswer(const ResultRecord &record, const ExamFacts &facts)
{
    AnswerCheck check;
    if (!record.answerSheet)
        return check;
    const AnswerSheet &sheet = *record.answerSheet;
    if (facts.publishedText.isEmpty()) {
        check.verdict = AnswerCheck::Verdict::NoText;
        return check;
    }
    if (sheet.examDigest != facts.publishedDigest
        || qint32(sheet.examMinutes) * 60 != facts.examSeconds) {
        check.verdict = AnswerCheck::Verdict::OtherExam;
        return check;
    }
    AnswerComparison comparison(facts.publishedText);
    comparison.compare(sheet.typedText);
    check.figures = scoreAnswer(comparison, qint32(sheet.typedText.size()), record.timePass);
    const bool agrees = sameFigure(record.speed, check.figures.speed)
            && sameFigure(record.accuracy, check.figures.accuracy)
            && record.typedLen == check.figures.typedLen;
    check.verdict = agrees ? AnswerCheck::Verdict::Agrees : AnswerCheck::Verdict::Disagrees;
    return check;
}

QString answerDoubt(const ResultRecord &record, const AnswerCheck &check)
{
    switch (check.verdict) {
    // A client that writes progress lines hands its finished result in with
    // the sheet after them: a finished one without is cut short or was
    // edited. Records on the way are notes of progress; a record of an older
    // client is judged by its figures alone (the answer-sheet window says it
    // has none).
    case AnswerCheck::Verdict::NoSheet:
        return record.progress && record.progress->phase == ResultProgress::Phase::Finished
                ? QCoreApplication::translate("AnswerCheck", "答卷缺失或已损坏")
                : QString();
    case AnswerCheck::Verdict::NoText:
    case AnswerCheck::Verdict::Agrees:
        return {};
    case AnswerCheck::Verdict::OtherExam:
        return QCoreApplication::translate("AnswerCheck",
                                           "答卷不是按本场考试的内容和时间（%1分钟）答的")
                .arg(record.answerSheet->examMinutes);
    case AnswerCheck::Verdict::Disagrees:
        break;
    }
    return QCoreApplication::translate("AnswerCheck",
                                       "成绩与答卷不符（成绩为%1，按答卷核算为%2，错字%3）")
            .arg(figuresText(record.speed, record.accuracy, record.typedLen),
                 figuresText(check.figures.speed, check.figures.accuracy, check.figures.typedLen))
            .arg(check.figures.errorCount);
}
