// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keystroke timeline of one exam session as it is typed, against the
// exam clock. The typing box reports each key and each change of its text;
// only what happens while the clock runs is recorded. A key costs an
// append, an edit the few characters it touched.
#include "exam/examclock.h"
#include "exchange/keytimeline.h"
#include "exchange/recordsections.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QObject>

#include <atomic>
#include <memory>

class TimelineRecorder : public QObject
{
    Q_OBJECT
public:
    explicit TimelineRecorder(const ExamClock &clock, QObject *parent = nullptr);

    void keyPressed(bool intoComposition);
    // The box's text changed at `position` (line breaks as one "\n"):
    // `removed` characters went, `inserted` is what is there now in their
    // place. A change that leaves the text as it was is no edit.
    void textChanged(qint32 position, qint32 removed, const QString &inserted,
                     TimelineEdit::Source source);

    // A resumed session: the timeline of its checkpoint goes on when it
    // leads to the text the session resumes with (line breaks as "\n");
    // otherwise a new one starts. The box reports the resumed text itself.
    void continueFrom(const KeyTimeline &timeline, const QString &typedText);

    const KeyTimeline &timeline() const { return m_timeline; }
    // The record's section as of now, within its bound, encoded on a worker
    // thread from a copy of the timeline, so that the typing never waits for
    // the compression.
    QFuture<RecordSection> sectionInBackground();

private:
    struct Encoded
    {
        RecordSection section;
        bool outgrown = false;  // the whole timeline did not fit
    };
    static Encoded encodeSection(const KeyTimeline &timeline,
                                 const std::optional<KeyTimeline> &earlierCounts, bool outgrown);

    void onSecond();
    qint32 nowMs() const;

    const ExamClock &m_clock;
    QElapsedTimer m_sinceSecond;
    KeyTimeline m_timeline;
    // A coarse timeline resumed: the counts recorded before this session.
    std::optional<KeyTimeline> m_earlierCounts;
    // The box's text as its reported changes leave it, so that an edit
    // records only what changed.
    QString m_text;
    // Once the whole timeline outgrew the section, it never fits again; the
    // worker that finds it says so.
    std::shared_ptr<std::atomic_bool> m_outgrown = std::make_shared<std::atomic_bool>(false);
};
