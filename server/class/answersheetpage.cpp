// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/answersheetpage.h"

#include "class/answeralignment.h"
#include "exchange/numbers.h"
#include "exchange/scoring.h"
#include "timeline/recordtimeline.h"

#include <algorithm>
#include <QCoreApplication>

namespace {

QString minutesAndSeconds(int seconds)
{
    return QCoreApplication::translate("AnswerSheetPage", "%1分%2秒")
            .arg(seconds / 60)
            .arg(seconds % 60);
}

// Typed text as the sheet shows it: each CR LF one line break.
QString shownText(QStringView text)
{
    QString out = text.toString();
    out.remove(u'\r');
    return out;
}

// A place as its note names it: every line break (CR LF, or a lone CR or
// LF) as ↵, since a break has no look of its own.
QString signs(QStringView text)
{
    QString out = text.toString();
    out.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
    out.replace(u'\r', u'↵');
    out.replace(u'\n', u'↵');
    return out;
}

QString named(const QString &sign)
{
    return sign == QStringLiteral("↵") ? QCoreApplication::translate("AnswerSheetPage", "换行")
                                       : QStringLiteral("“%1”").arg(sign);
}

// One wrong place: a character, or a line break with both its halves.
AnswerSheetPage::Piece wrongPiece(QStringView expected, QStringView typed)
{
    const QString expectedSign = signs(expected);
    AnswerSheetPage::Piece piece;
    piece.mark = AnswerSheetPage::Mark::Wrong;
    piece.text = expected.contains(u'\n') ? expectedSign + u'\n' : expectedSign;
    piece.typed = signs(typed);
    piece.note = QCoreApplication::translate("AnswerSheetPage", "应为%1，打成%2")
                         .arg(named(expectedSign), named(piece.typed));
    return piece;
}

// Where a slip happened, as the examiner counts along the sheet: characters,
// line breaks not among them.
QString slipPlace(QStringView target, int position)
{
    const auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
    const int before = int(std::count_if(target.begin(), target.begin() + position,
                                         [&](QChar c) { return !isBreak(c); }));
    if (position < target.size() && !isBreak(target[position]))
        return QCoreApplication::translate("AnswerSheetPage", "第%1个字处").arg(before + 1);
    return before > 0 ? QCoreApplication::translate("AnswerSheetPage", "第%1个字后").arg(before)
                      : QCoreApplication::translate("AnswerSheetPage", "开头");
}

// The first slip in the examiner's words, and what the aligned figures
// would be; empty without a slip.
QString slipText(QStringView target, QStringView typed, qint32 timePass)
{
    const AnswerAlignment alignment(target, typed);
    if (alignment.slips().empty())
        return {};
    const AnswerAlignment::Slip &slip = alignment.slips().front();
    const QString sign = signs(slip.text);
    // A long run is named by its start; its length says the rest.
    const int shownSigns = 6;
    const QString shown = sign.size() > shownSigns ? sign.left(shownSigns) + u'…' : sign;
    QString line = slipPlace(target, slip.targetPosition)
            + (slip.kind == AnswerAlignment::SlipKind::Extra
                       ? QCoreApplication::translate("AnswerSheetPage", "多打了")
                       : QCoreApplication::translate("AnswerSheetPage", "漏打了"))
            + named(shown) + QCoreApplication::translate("AnswerSheetPage", "，此后的字都错开了")
            + (sign.size() == 1
                       ? QCoreApplication::translate("AnswerSheetPage", "一位")
                       : QCoreApplication::translate("AnswerSheetPage", "%1位").arg(sign.size()));
    if (alignment.slips().size() > 1)
        line += QCoreApplication::translate("AnswerSheetPage", "，后面还有%1处多打或漏打")
                        .arg(alignment.slips().size() - 1);
    const int right = alignment.rightCount();
    return line
            + QCoreApplication::translate("AnswerSheetPage",
                                          "。\n按对齐计算，速度约为%1字／分钟，正确率约为%2％"
                                          "（仅供参考，成绩仍按逐字比较）")
                      .arg(numbers::speedText(scoring::speed(right, timePass)),
                           numbers::speedText(scoring::accuracy(right, alignment.errorCount())));
}

}  // namespace

AnswerSheetPage::AnswerSheetPage(const ClassViewRow &row, const CollectedResult *result,
                                 const ExamFacts &facts)
    : m_row(row), m_examSeconds(facts.examSeconds)
{
    if (!result) {
        m_notice = tr("这份成绩的文件已不在交换文件夹中，看不到答卷。");
        return;
    }
    const ResultRecord &record = result->record;
    if (!record.answerSheet) {
        m_notice = tr("这份成绩没有答卷（考生端版本较旧，或答卷已损坏）。");
        return;
    }
    const AnswerSheet &sheet = *record.answerSheet;
    m_resumeCount = sheet.resumeCount;
    const bool sameExam = sheet.examDigest == facts.publishedDigest
            && qint32(sheet.examMinutes) * 60 == facts.examSeconds;
    if (sameExam)
        m_compared = facts.publishedText;
    readTimeline(record);
    if (facts.publishedText.isEmpty()) {
        m_notice = tr("本机没有保存发布的考试内容，无法对照答卷。");
        return;
    }
    if (!sameExam) {
        m_notice = tr("答卷不是按本场考试的内容和时间答的，无法对照。");
        return;
    }
    const QString &published = facts.publishedText;
    const QString &typed = sheet.typedText;
    AnswerComparison comparison(published);
    comparison.compare(typed);
    m_figures = scoreAnswer(comparison, qint32(typed.size()), record.timePass);
    m_slipLine = slipText(published, typed, record.timePass);
    const int compared = comparison.comparedCount();
    const int length = int(published.size());
    // The final line break, when untyped, is not missing: nobody types it.
    const int complete = completeLength(published);
    for (int i = 0; i < std::max(compared, complete);) {
        const Mark mark = i >= compared   ? Mark::Missing
                : comparison.isRightAt(i) ? Mark::Right
                                          : Mark::Wrong;
        if (mark == Mark::Wrong) {
            const bool lineBreak =
                    published.at(i) == u'\r' && i + 1 < length && published.at(i + 1) == u'\n';
            const int width = lineBreak ? 2 : 1;
            m_pieces.append(wrongPiece(QStringView(published).mid(i, width),
                                       QStringView(typed).mid(i, width)));
            i += width;
            continue;
        }
        if (m_pieces.isEmpty() || m_pieces.last().mark != mark)
            m_pieces.append({ mark, {}, {}, {} });
        if (published.at(i) != u'\r')  // each CR LF shows as one line break
            m_pieces.last().text += published.at(i);
        ++i;
    }
    m_missing = std::max(complete - compared, 0);
    m_beyond = shownText(QStringView(typed).mid(length));
}

void AnswerSheetPage::readTimeline(const ResultRecord &record)
{
    const RecordTimeline read = readRecordTimeline(record);
    if (!read.timeline) {
        m_timelineNotice = read.problem.isEmpty()
                ? tr("这份成绩没有按键记录（考生端版本较旧），看不到速度曲线和回放。")
                : tr("按键记录无法读出（%1），看不到速度曲线和回放。").arg(read.problem);
        return;
    }
    const KeyTimeline &timeline = *read.timeline;
    if (timeline.coarse) {
        m_curve.emplace(timeline, QString(), qint32(record.timePass) * 1000);
        m_timelineNotice = tr("这场考试的按键记录过长，只保存了每%1秒的字数："
                              "速度曲线不分对错，不能回放。")
                                   .arg(timeline.stepSeconds);
        return;
    }
    const std::optional<QString> replayed = keytimeline::replayed(timeline.edits);
    if (!replayed) {
        m_timelineNotice = tr("按键记录中的改动前后接不上，看不到速度曲线和回放。");
        return;
    }
    // The curve's wrong characters and the replay's text come from the
    // timeline, the figures above from the sheet: shown together only when
    // the timeline ends in the sheet's text, so that all count alike.
    if (withCrLf(*replayed) != record.answerSheet->typedText) {
        m_timelineNotice = tr("按键记录重放出的文字与答卷不同，看不到速度曲线和回放。");
        return;
    }
    m_curve.emplace(timeline, m_compared, qint32(record.timePass) * 1000);
    m_replay.emplace(timeline.edits);
}

QString AnswerSheetPage::title() const
{
    return tr("答卷 — %1 %2 %3").arg(m_row.department, m_row.examNumber, m_row.name);
}

QString AnswerSheetPage::recomputedLine() const
{
    if (!m_figures)
        return {};
    return tr("按答卷核算：速度%1字／分钟，正确率%2％，打字数%3，对%4字，错%5字，未打%6字")
            .arg(numbers::speedText(m_figures->speed), numbers::speedText(m_figures->accuracy))
            .arg(m_figures->typedLen)
            .arg(m_figures->rightCount)
            .arg(m_figures->errorCount)
            .arg(m_missing);
}

QString AnswerSheetPage::recordLine() const
{
    return tr("成绩记录：速度%1字／分钟，正确率%2％")
            .arg(numbers::speedText(m_row.speed), numbers::accuracyText(m_row.accuracyLine));
}

QString AnswerSheetPage::timeLine() const
{
    QString line = tr("用时%1").arg(minutesAndSeconds(m_row.timePass));
    if (m_examSeconds > 0)
        line += tr("（考试时间%1分钟）").arg(m_examSeconds / 60);
    return line;
}

QString AnswerSheetPage::sessionLine() const
{
    if (m_row.loginOrdinal == 0)
        return tr("考试会话：未记录");
    return tr("第%1次登录 · %2")
            .arg(QString::number(m_row.loginOrdinal),
                 m_resumeCount > 0 ? tr("续考%1次").arg(m_resumeCount) : tr("未续考"));
}
