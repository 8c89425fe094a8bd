// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/machinetyping.h"

#include "timeline/recordtimeline.h"
#include "timeline/typingcurve.h"

#include <QHash>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <QCoreApplication>

namespace {

QString rhythmMark()
{
    return QCoreApplication::translate("MachineTyping", "按键节奏不像人工输入");
}

QString disagreeMark()
{
    return QCoreApplication::translate("MachineTyping", "按键记录与成绩不符");
}

// A key and the edit it caused are stamped by the same event, a few ms apart at most.
constexpr qint32 kSameEventMs = 20;

// For each edit, whether it puts back what the last removal at its place
// took out: an undo brings back text typed before, without typing it again.
std::vector<bool> restorations(const std::vector<TimelineEdit> &edits)
{
    std::vector<bool> restoring(edits.size(), false);
    QString text;
    QHash<qint32, QString> removedAt;
    for (size_t i = 0; i < edits.size(); ++i) {
        const TimelineEdit &edit = edits[i];
        if (edit.position < 0 || edit.removed < 0 || edit.position + edit.removed > text.size())
            break;  // the edits do not replay: the disagreement rule says so
        const auto removed = removedAt.constFind(edit.position);
        restoring[i] = !edit.inserted.isEmpty() && removed != removedAt.cend()
                && *removed == edit.inserted;
        if (edit.removed > 0)
            removedAt.insert(edit.position, text.mid(edit.position, edit.removed));
        text.replace(edit.position, edit.removed, edit.inserted);
    }
    return restoring;
}

// The keys that typed something: those an input method composed with, and
// those an insertion followed at once. Deleting and moving keys are left
// out, so a held Backspace, repeating evenly, is no rhythm.
std::vector<qint32> typingKeyMs(const KeyTimeline &timeline)
{
    std::vector<qint32> insertMs;
    for (const TimelineEdit &edit : timeline.edits) {
        if (!edit.inserted.isEmpty())
            insertMs.push_back(edit.atMs);
    }
    std::sort(insertMs.begin(), insertMs.end());
    std::vector<qint32> typing;
    for (const TimelineKey &key : timeline.keys) {
        const auto next = std::lower_bound(insertMs.cbegin(), insertMs.cend(), key.atMs);
        if (key.intoComposition || (next != insertMs.cend() && *next - key.atMs <= kSameEventMs))
            typing.push_back(key.atMs);
    }
    return typing;
}

// The intervals between typing keys, cut into stretches at every break.
QVector<QVector<double>> stretches(const std::vector<qint32> &keyMs, qint32 breakMs)
{
    QVector<QVector<double>> stretches(1);
    for (size_t i = 1; i < keyMs.size(); ++i) {
        const qint32 interval = keyMs[i] - keyMs[i - 1];
        if (interval > breakMs) {
            if (!stretches.last().isEmpty())
                stretches.append(QVector<double>());
            continue;
        }
        stretches.last().append(interval);
    }
    return stretches;
}

// The spread (standard deviation over mean) of the intervals between
// breaks, all stretches pooled: each interval is measured against the mean
// of its own stretch, so a tool that changes its pace at every break is as
// even as it is within each. A stretch of one interval has no spread.
struct PooledSpread
{
    double spread = 0;
    qint32 intervals = 0;
};

PooledSpread pooledSpread(const QVector<QVector<double>> &intervalStretches)
{
    double squares = 0;
    qint32 intervals = 0, freedom = 0;
    for (const QVector<double> &stretch : intervalStretches) {
        const double mean = std::accumulate(stretch.cbegin(), stretch.cend(), 0.0)
                / std::max<qsizetype>(stretch.size(), 1);
        if (stretch.size() < 2 || mean <= 0)
            continue;
        for (double interval : stretch)
            squares += (interval - mean) * (interval - mean) / (mean * mean);
        intervals += qint32(stretch.size());
        freedom += qint32(stretch.size()) - 1;
    }
    return { freedom > 0 ? std::sqrt(squares / freedom) : 0.0, intervals };
}

// The lowest mean of `burst` intervals in a row within a stretch; none
// where every stretch is shorter.
std::optional<double> lowestBurstMean(const QVector<QVector<double>> &intervalStretches, int burst)
{
    std::optional<double> lowest;
    for (const QVector<double> &intervals : intervalStretches) {
        double sum = 0;
        for (int i = 0; i < intervals.size(); ++i) {
            sum += intervals[i];
            if (i >= burst)
                sum -= intervals[i - burst];
            if (i + 1 >= burst)
                lowest = std::min(lowest.value_or(sum / burst), sum / burst);
        }
    }
    return lowest;
}

// Input-method commits gathered into the pieces a composition made: a
// commit with no composing key of its own before it (its own committing
// key aside) goes on the piece just committed, as the rest of a composition
// chosen in parts or a punctuation mark after a word. Another edit or a
// plain key (an arrow, Ctrl) ends a piece.
class CommitPieces
{
public:
    explicit CommitPieces(double keysPerChar) : m_keysPerChar(keysPerChar) { }

    void commit(const QString &inserted, qint32 composingKeys, bool afterPlainKey)
    {
        if (m_open.commits > 0 && composingKeys <= 1 && !afterPlainKey) {
            m_open.chars += qint32(inserted.size());
            m_open.keys += composingKeys;
            m_open.commits += 1;
            m_open.punctuation = m_open.punctuation && isPunctuation(inserted);
            return;
        }
        close();
        m_open = Piece { qint32(inserted.size()), composingKeys, 1, composingKeys > 1,
                         isPunctuation(inserted) };
    }

    void close()
    {
        if (m_open.commits > 0 && pasted(m_open))
            m_pastedChars += m_open.chars;
        m_open = {};
    }

    qint32 pastedChars() const { return m_pastedChars; }

private:
    struct Piece
    {
        qint32 chars = 0;
        qint32 keys = 0;  // composing keys, each commit's own included
        qint32 commits = 0;  // none: no piece open
        bool composed = false;  // a key changed a composition before the first commit
        bool punctuation = true;  // punctuation and symbols only
    };

    static bool isPunctuation(const QString &text)
    {
        return std::none_of(text.cbegin(), text.cend(),
                            [](QChar c) { return c.isLetterOrNumber(); });
    }

    // Without a composition only a punctuation key commits: a mark or two
    // ("……", "——") for each. With one, pinyin takes several keys a
    // character and an abbreviated phrase about one.
    bool pasted(const Piece &piece) const
    {
        if (!piece.composed)
            return !piece.punctuation || piece.chars > 2 * piece.commits;
        return piece.keys < piece.chars * m_keysPerChar;
    }

    double m_keysPerChar;
    Piece m_open;
    qint32 m_pastedChars = 0;
};

QString decimal(double value)
{
    return QString::number(value, 'f', 2);
}

}  // namespace

namespace machinetyping {

QString hanziWithoutInputMethod(const KeyTimeline &timeline, const TypingThresholds &thresholds)
{
    qint32 count = 0;
    for (const TimelineStep &step : timeline.steps)
        count += step.hanziByKeys;
    const std::vector<bool> restoring = restorations(timeline.edits);
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        const TimelineEdit &edit = timeline.edits[i];
        if (edit.source == TimelineEdit::Source::Keys && !restoring[i])
            count += qint32(std::count_if(edit.inserted.cbegin(), edit.inserted.cend(),
                                          keytimeline::isHanzi));
    }
    if (count < thresholds.hanziByKeys)
        return {};
    return QCoreApplication::translate("machinetyping", "汉字未经输入法输入（%1字）").arg(count);
}

QString inhumanRhythm(const KeyTimeline &timeline, const TypingThresholds &thresholds)
{
    if (timeline.coarse) {
        // Only the counts tell: a step of keys faster than anyone types.
        for (const TimelineStep &step : timeline.steps) {
            const double meanMs = step.keys > 0 ? timeline.stepSeconds * 1000.0 / step.keys : 0;
            if (step.keys >= thresholds.burstIntervals && meanMs < thresholds.fastestMeanMs)
                return rhythmMark()
                        + QCoreApplication::translate("machinetyping", "（%1秒内按键%2次）")
                                  .arg(timeline.stepSeconds)
                                  .arg(step.keys);
        }
        return {};
    }
    const QVector<QVector<double>> intervalStretches =
            stretches(typingKeyMs(timeline), thresholds.breakMs);
    const PooledSpread even = pooledSpread(intervalStretches);
    if (even.intervals >= thresholds.evenStretchIntervals && even.spread < thresholds.minSpread)
        return rhythmMark()
                + QCoreApplication::translate("machinetyping",
                                              "（停顿之间%1次按键的间隔几乎相同，离散度%2）")
                          .arg(even.intervals)
                          .arg(decimal(even.spread));
    const std::optional<double> fastest =
            lowestBurstMean(intervalStretches, thresholds.burstIntervals);
    if (fastest && *fastest < thresholds.fastestMeanMs)
        return rhythmMark()
                + QCoreApplication::translate("machinetyping", "（连续%1次按键平均间隔%2毫秒）")
                          .arg(thresholds.burstIntervals)
                          .arg(decimal(*fastest));
    return {};
}

QString textWithoutKeys(const KeyTimeline &timeline, const TypingThresholds &thresholds)
{
    qint32 largest = 0, keysBehind = 0;
    const auto note = [&](qint32 chars, qint32 keys) {
        if (chars >= thresholds.largePieceChars && keys < chars * thresholds.keysPerChar
            && chars > largest) {
            largest = chars;
            keysBehind = keys;
        }
    };
    for (const TimelineStep &step : timeline.steps)
        note(step.inserted - step.removed, step.keys);
    const std::vector<bool> restoring = restorations(timeline.edits);
    auto key = timeline.keys.cbegin();
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        const TimelineEdit &edit = timeline.edits[i];
        qint32 keys = 0;
        for (; key != timeline.keys.cend() && key->atMs <= edit.atMs + kSameEventMs; ++key)
            ++keys;
        // An input method's commits have a rule of their own.
        if (!restoring[i] && edit.source == TimelineEdit::Source::Keys)
            note(qint32(edit.inserted.size()), keys);
    }
    if (largest == 0)
        return {};
    return QCoreApplication::translate("machinetyping",
                                       "大段文字无按键输入（一次出现%1字，按键%2次）")
            .arg(largest)
            .arg(keysBehind);
}

QString pastedThroughInputMethod(const KeyTimeline &timeline, const TypingThresholds &thresholds)
{
    CommitPieces pieces(thresholds.keysPerChar);
    const std::vector<bool> restoring = restorations(timeline.edits);
    qint32 typedIn = 0;
    auto key = timeline.keys.cbegin();
    for (size_t i = 0; i < timeline.edits.size(); ++i) {
        const TimelineEdit &edit = timeline.edits[i];
        qint32 composingKeys = 0;
        bool plainKey = false;
        for (; key != timeline.keys.cend() && key->atMs <= edit.atMs + kSameEventMs; ++key) {
            composingKeys += key->intoComposition ? 1 : 0;
            plainKey = plainKey || !key->intoComposition;
        }
        if (restoring[i] || edit.inserted.isEmpty()) {
            pieces.close();
            continue;
        }
        typedIn += qint32(edit.inserted.size());
        if (edit.source == TimelineEdit::Source::InputMethod)
            pieces.commit(edit.inserted, composingKeys, plainKey);
        else
            pieces.close();
    }
    pieces.close();
    const qint32 pasted = pieces.pastedChars();
    if (pasted < thresholds.pastedMinChars || pasted <= typedIn * thresholds.pastedShare)
        return {};
    return QCoreApplication::translate("machinetyping", "输入法粘贴%1字").arg(pasted);
}

QString disagreesWithRecord(const KeyTimeline &timeline, const ResultRecord &record,
                            const TypingThresholds &thresholds)
{
    qint32 lastMs = 0;
    if (!timeline.edits.empty())
        lastMs = timeline.edits.back().atMs;
    if (!timeline.keys.empty())
        lastMs = std::max(lastMs, timeline.keys.back().atMs);
    if (timeline.coarse && !timeline.steps.empty())
        lastMs = qint32(timeline.steps.size() - 1) * timeline.stepSeconds * 1000;
    if (lastMs > (qint32(record.timePass) + thresholds.graceSeconds) * 1000)
        return disagreeMark()
                + QCoreApplication::translate("machinetyping", "（按键记录到第%1秒，用时只有%2秒）")
                          .arg(lastMs / 1000)
                          .arg(record.timePass);
    if (!record.answerSheet)
        return {};
    const QString &typed = record.answerSheet->typedText;
    if (timeline.coarse) {
        qint32 net = 0;
        for (const TimelineStep &step : timeline.steps)
            net += step.inserted - step.removed;
        const qint32 sheetLength = qint32(typed.size() - typed.count(QStringLiteral("\r\n")));
        if (net == sheetLength)
            return {};
        return disagreeMark()
                + QCoreApplication::translate("machinetyping", "（按键记录共%1字，答卷%2字）")
                          .arg(net)
                          .arg(sheetLength);
    }
    const std::optional<QString> replayed = keytimeline::replayed(timeline.edits);
    if (!replayed)
        return disagreeMark()
                + QCoreApplication::translate("machinetyping", "（按键记录中的改动前后接不上）");
    if (withCrLf(*replayed) != typed)
        return disagreeMark()
                + QCoreApplication::translate("machinetyping",
                                              "（按键记录重放出的文字与答卷不同）");
    return {};
}

}  // namespace machinetyping

TimelineFindings examineTimeline(const ResultRecord &record, const QString &published,
                                 const TypingThresholds &thresholds)
{
    const RecordTimeline read = readRecordTimeline(record);
    if (!read.problem.isEmpty())
        return { { disagreeMark()
                   + QCoreApplication::translate("machinetyping", "（%1）").arg(read.problem) },
                 std::nullopt };
    if (!read.timeline)
        return {};
    const KeyTimeline &timeline = *read.timeline;
    TimelineFindings findings;
    const QString disagreement = machinetyping::disagreesWithRecord(timeline, record, thresholds);
    for (const QString &doubt :
         { machinetyping::hanziWithoutInputMethod(timeline, thresholds),
           machinetyping::inhumanRhythm(timeline, thresholds),
           machinetyping::textWithoutKeys(timeline, thresholds),
           machinetyping::pastedThroughInputMethod(timeline, thresholds), disagreement }) {
        if (!doubt.isEmpty())
            findings.doubts << doubt;
    }
    // Edits that do not replay draw no curve.
    if (timeline.coarse || keytimeline::replayed(timeline.edits))
        findings.lastMinuteSpeed =
                TypingCurve(timeline, published, qint32(record.timePass) * 1000).lastMinuteSpeed();
    return findings;
}
