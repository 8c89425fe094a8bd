// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/typingcurve.h"

#include "exchange/answercomparison.h"
#include "timeline/recordtimeline.h"

#include <algorithm>
#include <cmath>
#include <QCoreApplication>

namespace {

qint32 countBetween(const std::vector<qint32> &sorted, qint32 fromMs, qint32 toMs)
{
    return qint32(std::lower_bound(sorted.cbegin(), sorted.cend(), toMs)
                  - std::lower_bound(sorted.cbegin(), sorted.cend(), fromMs));
}

}  // namespace

TypingCurve::TypingCurve(const KeyTimeline &timeline, const QString &published, qint32 endMs)
{
    if (timeline.coarse) {
        // Only counts: what a step added is taken as typed right at its start.
        for (size_t i = 0; i < timeline.steps.size(); ++i) {
            const TimelineStep &step = timeline.steps[i];
            const qint32 fromMs = qint32(i) * timeline.stepSeconds * 1000;
            m_rightMs.insert(m_rightMs.end(), size_t(std::max(step.inserted - step.removed, 0)),
                             fromMs);
            if (step.keys > 0 || step.inserted > 0 || step.removed > 0) {
                m_activeMs.push_back(fromMs);
                m_activeMs.push_back(fromMs + timeline.stepSeconds * 1000 - 1);
            }
        }
    } else {
        // Each character of the text carries the time it was typed.
        QString text;
        std::vector<qint32> typedMs;
        for (const TimelineEdit &edit : timeline.edits) {
            if (edit.position < 0 || edit.removed < 0 || edit.position + edit.removed > text.size())
                break;  // edits that do not replay draw no further
            text.replace(edit.position, edit.removed, edit.inserted);
            typedMs.erase(typedMs.begin() + edit.position,
                          typedMs.begin() + edit.position + edit.removed);
            typedMs.insert(typedMs.begin() + edit.position, size_t(edit.inserted.size()),
                           edit.atMs);
            m_activeMs.push_back(edit.atMs);
        }
        for (const TimelineKey &key : timeline.keys)
            m_activeMs.push_back(key.atMs);
        AnswerComparison comparison(published);
        comparison.compare(withCrLf(text));
        int position = 0;  // in the compared text, a line break two places
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int width = text.at(i) == u'\n' ? 2 : 1;
            for (int k = 0; k < width; ++k, ++position) {
                if (published.isEmpty()
                    || (position < comparison.comparedCount() && comparison.isRightAt(position)))
                    m_rightMs.push_back(typedMs[size_t(i)]);
                else if (position < comparison.comparedCount())
                    m_wrongMs.push_back(typedMs[size_t(i)]);
            }
        }
    }
    std::sort(m_rightMs.begin(), m_rightMs.end());
    std::sort(m_wrongMs.begin(), m_wrongMs.end());
    std::sort(m_activeMs.begin(), m_activeMs.end());
    m_endMs = std::max(endMs, m_activeMs.empty() ? 0 : m_activeMs.back() + 1);
}

QVector<CurveStep> TypingCurve::steps(qint32 stepSeconds) const
{
    QVector<CurveStep> steps;
    const qint32 stepMs = stepSeconds * 1000;
    for (qint32 fromMs = 0; fromMs < m_endMs; fromMs += stepMs) {
        const qint32 toMs = std::min(fromMs + stepMs, m_endMs);
        steps.append({ fromMs / 1000,
                       countBetween(m_rightMs, fromMs, toMs) * 60000.0 / (toMs - fromMs),
                       countBetween(m_wrongMs, fromMs, toMs) });
    }
    return steps;
}

QVector<CurvePause> TypingCurve::pauses(qint32 minSeconds) const
{
    QVector<CurvePause> pauses;
    qint32 lastMs = 0;
    const auto gapTo = [&](qint32 ms) {
        if (ms - lastMs >= minSeconds * 1000)
            pauses.append({ lastMs, ms });
        lastMs = ms;
    };
    for (const qint32 ms : m_activeMs)
        gapTo(ms);
    gapTo(m_endMs);
    return pauses;
}

double TypingCurve::lastMinuteSpeed() const
{
    const qint32 fromMs = std::max(0, m_endMs - 60000);
    if (m_endMs == fromMs)
        return 0;
    return countBetween(m_rightMs, fromMs, m_endMs + 1) * 60000.0 / (m_endMs - fromMs);
}

CurveAxis curveAxis(double fromMinute, double toMinute)
{
    // A few ticks to a stretch, never more than about ten.
    const double span = toMinute - fromMinute;
    const bool inSeconds = span < 2;
    const double seconds = span * 60;
    const double step = inSeconds ? (seconds > 60           ? 15
                                             : seconds > 30 ? 10
                                             : seconds > 10 ? 5
                                                            : 1)
                    / 60.0
            : span > 40 ? 10
            : span > 16 ? 5
            : span > 4  ? 1
                        : 0.5;
    CurveAxis axis { inSeconds ? QCoreApplication::translate("TypingCurve", "考试时间（分:秒）")
                               : QCoreApplication::translate("TypingCurve", "考试时间（分钟）"),
                     {} };
    // Counted in whole steps from 0, so that the ticks land on round times.
    const double slack = 1e-9;
    for (qint64 n = qint64(std::ceil(fromMinute / step - slack)); n * step <= toMinute + slack;
         ++n) {
        const double minute = n * step;
        QString label;
        if (inSeconds) {
            const qint64 second = qRound64(minute * 60);
            label = QStringLiteral("%1:%2").arg(second / 60).arg(second % 60, 2, 10, QChar(u'0'));
        } else {
            label = QString::number(minute, 'g', 6);
        }
        axis.ticks.push_back({ minute, label });
    }
    return axis;
}
