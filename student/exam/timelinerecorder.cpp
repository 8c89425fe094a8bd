// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/timelinerecorder.h"

#include <QPromise>
#include <QThreadPool>

#include <algorithm>
#include <memory>

TimelineRecorder::TimelineRecorder(const ExamClock &clock, QObject *parent)
    : QObject(parent), m_clock(clock)
{
    connect(&clock, &ExamClock::started, this, &TimelineRecorder::onSecond);
    connect(&clock, &ExamClock::secondPassed, this, &TimelineRecorder::onSecond);
}

void TimelineRecorder::onSecond()
{
    m_sinceSecond.start();
}

qint32 TimelineRecorder::nowMs() const
{
    // The clock counts whole seconds; the milliseconds since its last one
    // fill in, never reaching the next.
    return qint32(m_clock.timePass()) * 1000
            + qint32(std::min<qint64>(m_sinceSecond.elapsed(), 999));
}

void TimelineRecorder::keyPressed(bool intoComposition)
{
    if (m_clock.state() == ExamClock::State::Running)
        m_timeline.keys.push_back({ nowMs(), intoComposition });
}

void TimelineRecorder::textChanged(qint32 position, qint32 removed, const QString &inserted,
                                   TimelineEdit::Source source)
{
    position = std::clamp(position, 0, qint32(m_text.size()));
    removed = std::clamp(removed, 0, qint32(m_text.size()) - position);
    // The box reports a whole paragraph as changed when only the input
    // method's composition in it did: keep just what differs.
    qint32 same = 0;
    const qint32 shorter = std::min(removed, qint32(inserted.size()));
    while (same < shorter && m_text[position + same] == inserted[same])
        ++same;
    qint32 sameAtEnd = 0;
    while (sameAtEnd < shorter - same
           && m_text[position + removed - 1 - sameAtEnd]
                   == inserted[inserted.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    const qint32 at = position + same;
    const qint32 gone = removed - same - sameAtEnd;
    const qint32 came = qint32(inserted.size()) - same - sameAtEnd;
    if (gone == 0 && came == 0)
        return;
    const QString added = came == qint32(inserted.size()) ? inserted : inserted.mid(same, came);
    m_text.replace(at, gone, added);
    if (m_clock.state() == ExamClock::State::Running)
        m_timeline.edits.push_back({ nowMs(), at, gone, added, source });
}

void TimelineRecorder::continueFrom(const KeyTimeline &timeline, const QString &typedText)
{
    m_timeline = {};
    m_earlierCounts.reset();
    // A worker of the timeline before cannot mark this one.
    m_outgrown = std::make_shared<std::atomic_bool>(false);
    if (timeline.coarse)
        m_earlierCounts = timeline;
    else if (keytimeline::replayed(timeline.edits) == typedText)
        m_timeline = timeline;
}

QFuture<RecordSection> TimelineRecorder::sectionInBackground()
{
    // The copies share the edits' texts: taking them costs little more
    // than copying the two vectors.
    auto promise = std::make_shared<QPromise<RecordSection>>();
    QFuture<RecordSection> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, timeline = m_timeline,
                                          earlierCounts = m_earlierCounts,
                                          outgrown = m_outgrown->load(), marked = m_outgrown] {
        Encoded encoded = encodeSection(timeline, earlierCounts, outgrown);
        if (encoded.outgrown)
            *marked = true;
        promise->addResult(std::move(encoded.section));
        promise->finish();
    });
    return future;
}

TimelineRecorder::Encoded
TimelineRecorder::encodeSection(const KeyTimeline &timeline,
                                const std::optional<KeyTimeline> &earlierCounts, bool outgrown)
{
    Encoded encoded { { keytimeline::kSectionName.toString(), {} }, outgrown };
    if (!earlierCounts && !outgrown) {
        encoded.section.bytes = keytimeline::encode(timeline);
        if (encoded.section.bytes.size() <= keytimeline::kMaxEncodedBytes)
            return encoded;
        encoded.outgrown = true;
    }
    KeyTimeline counts =
            keytimeline::coarsened(timeline, earlierCounts ? earlierCounts->stepSeconds : 1);
    if (earlierCounts) {
        const std::vector<TimelineStep> &earlier = earlierCounts->steps;
        if (counts.steps.size() < earlier.size())
            counts.steps.resize(earlier.size());
        for (size_t i = 0; i < earlier.size(); ++i)
            counts.steps[i] += earlier[i];
    }
    encoded.section.bytes = keytimeline::encodeWithinBound(counts);
    return encoded;
}
