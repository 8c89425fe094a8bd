// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/answersheetpage.h"

#include "numbers.h"

#include <algorithm>

namespace {

QString minutesAndSeconds(int seconds)
{
    return QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

AnswerSheetPage::AnswerSheetPage(const ClassViewRow &row, const CollectedResult *result,
                                 const ExamFacts &facts)
    : m_row(row), m_examSeconds(facts.examSeconds)
{
    if (!result) {
        m_notice = QStringLiteral("这份成绩的文件已不在交换文件夹中，看不到答卷。");
        return;
    }
    const ResultRecord &record = result->record;
    if (record.progress)
        m_sessionId = record.progress->sessionId;
    if (!record.answerSheet) {
        m_notice = QStringLiteral("这份成绩没有答卷（考生端版本较旧，或答卷已损坏）。");
        return;
    }
    const AnswerSheet &sheet = *record.answerSheet;
    m_resumeCount = sheet.resumeCount;
    if (facts.publishedText.isEmpty()) {
        m_notice = QStringLiteral("本机没有保存发布的考试内容，无法对照答卷。");
        return;
    }
    if (sheet.examDigest != facts.publishedDigest
        || qint32(sheet.examMinutes) * 60 != facts.examSeconds) {
        m_notice = QStringLiteral("答卷不是按本场考试的内容和时间答的，无法对照。");
        return;
    }
    m_published = facts.publishedText;
    AnswerComparison comparison(m_published);
    comparison.compare(sheet.typedText);
    m_figures = scoreAnswer(comparison, qint32(sheet.typedText.size()), record.timePass);
    const int compared = comparison.comparedCount();
    // The final line break, when untyped, is not missing: nobody types it.
    const int complete = completeLength(m_published);
    for (int i = 0; i < std::max(compared, complete); ++i) {
        const Mark mark = i >= compared   ? Mark::Missing
                : comparison.isRightAt(i) ? Mark::Right
                                          : Mark::Wrong;
        if (!m_runs.isEmpty() && m_runs.last().mark == mark)
            ++m_runs.last().length;
        else
            m_runs.append({ i, 1, mark });
    }
    m_missing = std::max(complete - compared, 0);
    m_beyond = sheet.typedText.mid(m_published.size());
}

QString AnswerSheetPage::title() const
{
    return QStringLiteral("答卷 — %1 %2 %3").arg(m_row.department, m_row.examNumber, m_row.name);
}

QString AnswerSheetPage::recomputedLine() const
{
    if (!m_figures)
        return {};
    return QStringLiteral(
                   "按答卷核算：速度%1字／分钟，正确率%2％，打字数%3，对%4字，错%5字，未打%6字")
            .arg(numbers::singleText(m_figures->speed), numbers::singleText(m_figures->accuracy))
            .arg(m_figures->typedLen)
            .arg(m_figures->rightCount)
            .arg(m_figures->errorCount)
            .arg(m_missing);
}

QString AnswerSheetPage::recordLine() const
{
    return QStringLiteral("成绩记录：速度%1字／分钟，正确率%2％")
            .arg(numbers::singleText(float(m_row.speed)), m_row.accuracyLine);
}

QString AnswerSheetPage::timeLine() const
{
    QString line = QStringLiteral("用时%1").arg(minutesAndSeconds(m_row.timePass));
    if (m_examSeconds > 0)
        line += QStringLiteral("（考试时间%1分钟）").arg(m_examSeconds / 60);
    return line;
}

QString AnswerSheetPage::sessionLine() const
{
    if (m_sessionId.isEmpty())
        return QStringLiteral("考试会话：未记录");
    return QStringLiteral("考试会话：%1，%2")
            .arg(m_sessionId,
                 m_resumeCount > 0 ? QStringLiteral("续考%1次").arg(m_resumeCount)
                                   : QStringLiteral("未续考"));
}
