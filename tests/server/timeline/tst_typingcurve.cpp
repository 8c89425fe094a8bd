// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The speed curve and the replay of a run: each character of the final text
// counts in the step it was typed in (a line break twice, as the score
// counts), wrong ones are marked there, pauses show, and a replay stopped at
// any moment shows the text of that moment, at its end the sheet's.
#include "timeline/replayplayhead.h"
#include "timeline/typingcurve.h"
#include "timeline/typingreplay.h"
#include "typingruns.h"

#include <QtTest>

namespace {

TimelineEdit typing(qint32 atMs, qint32 position, const QString &text, qint32 removed = 0)
{
    return { atMs, position, removed, text, TimelineEdit::Source::InputMethod };
}

// 甲 at 1 s, 乙 at 2 s, a line break at 31 s, 丙 typed wrong as 丁 at 65 s,
// 戊 at 70 s deleted at 71 s; nothing after that until the end at 90 s.
KeyTimeline sampleRun()
{
    KeyTimeline run;
    run.edits = { typing(1000, 0, u"甲"_qs),  typing(2000, 1, u"乙"_qs),
                  typing(31000, 2, u"\n"_qs), typing(65000, 3, u"丁"_qs),
                  typing(70000, 4, u"戊"_qs), typing(71000, 4, {}, 1) };
    for (const TimelineEdit &edit : run.edits)
        run.keys.push_back({ edit.atMs, false });
    return run;
}

const QString kPublished = u"甲乙\r\n丙丁"_qs;

}  // namespace

Q_DECLARE_METATYPE(QVector<CurveStep>)
Q_DECLARE_METATYPE(QVector<TypedPiece>)

class TestTypingCurve : public QObject
{
    Q_OBJECT

private slots:
    void stepsCountRightAndWrongWhereTyped_data()
    {
        QTest::addColumn<int>("stepSeconds");
        QTest::addColumn<QVector<CurveStep>>("steps");
        QTest::newRow("30 s") << 30
                              << QVector<CurveStep> { { 0, 4, 0 }, { 30, 4, 0 }, { 60, 0, 1 } };
        QTest::newRow("60 s, the last step half")
                << 60 << QVector<CurveStep> { { 0, 4, 0 }, { 60, 0, 1 } };
    }

    void stepsCountRightAndWrongWhereTyped()
    {
        QFETCH(int, stepSeconds);
        QFETCH(QVector<CurveStep>, steps);
        QCOMPARE(TypingCurve(sampleRun(), kPublished, 90000).steps(stepSeconds), steps);
    }

    void withoutThePublishedTextEveryCharacterCounts()
    {
        const QVector<CurveStep> steps = TypingCurve(sampleRun(), QString(), 90000).steps(30);
        QCOMPARE(steps.at(2), (CurveStep { 60, 2, 0 }));
    }

    void pausesAndTheLastMinute()
    {
        const TypingCurve curve(sampleRun(), kPublished, 90000);
        QCOMPARE(curve.pauses(5),
                 (QVector<CurvePause> {
                         { 2000, 31000 }, { 31000, 65000 }, { 65000, 70000 }, { 71000, 90000 } }));
        QCOMPARE(curve.pauses(30), (QVector<CurvePause> { { 31000, 65000 } }));
        // From 30 s to 90 s: the line break's two right places.
        QCOMPARE(curve.lastMinuteSpeed(), 2.0);
        KeyTimeline shortRun = sampleRun();
        shortRun.edits.resize(2);
        shortRun.keys.resize(2);
        QCOMPARE(TypingCurve(shortRun, kPublished, 30000).lastMinuteSpeed(), 4.0);
    }

    void aCoarseTimelineCountsWhatEachStepAdded()
    {
        KeyTimeline coarse;
        coarse.coarse = true;
        coarse.stepSeconds = 10;
        coarse.steps = { { 20, 0, 12, 12, 0, 2 }, { 0, 0, 0, 0, 0, 0 }, { 5, 0, 3, 0, 0, 0 } };
        const TypingCurve curve(coarse, kPublished, 30000);
        QCOMPARE(curve.steps(30), (QVector<CurveStep> { { 0, 26, 0 } }));
        QCOMPARE(curve.pauses(10), (QVector<CurvePause> { { 9999, 20000 } }));
    }

    void timeAxisLabelsEveryTick_data()
    {
        QTest::addColumn<double>("fromMinute");
        QTest::addColumn<double>("toMinute");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("labels");  // at the times they name
        const QString seconds = u"考试时间（分:秒）"_qs, minutes = u"考试时间（分钟）"_qs;
        QTest::newRow("0.5 to 1 minute")
                << 0.5 << 1.0 << seconds
                << QStringList { u"0:30"_qs, u"0:35"_qs, u"0:40"_qs, u"0:45"_qs,
                                 u"0:50"_qs, u"0:55"_qs, u"1:00"_qs };
        QTest::newRow("31 seconds")
                << 1.0 << 1.0 + 31 / 60.0 << seconds
                << QStringList { u"1:00"_qs, u"1:10"_qs, u"1:20"_qs, u"1:30"_qs };
        QTest::newRow("just under two minutes")
                << 0.1 << 2.09 << seconds
                << QStringList { u"0:15"_qs, u"0:30"_qs, u"0:45"_qs, u"1:00"_qs,
                                 u"1:15"_qs, u"1:30"_qs, u"1:45"_qs, u"2:00"_qs };
        QTest::newRow("two minutes")
                << 0.1 << 2.1 << minutes << QStringList { u"0.5"_qs, u"1"_qs, u"1.5"_qs, u"2"_qs };
        QTest::newRow("45 minutes")
                << 0.0 << 45.0 << minutes
                << QStringList { u"0"_qs, u"10"_qs, u"20"_qs, u"30"_qs, u"40"_qs };
    }

    void timeAxisLabelsEveryTick()
    {
        QFETCH(double, fromMinute);
        QFETCH(double, toMinute);
        QFETCH(QString, title);
        QFETCH(QStringList, labels);
        const CurveAxis axis = curveAxis(fromMinute, toMinute);
        QCOMPARE(axis.title, title);
        QStringList shown;
        for (const CurveTick &tick : axis.ticks) {
            const QStringList parts = tick.label.split(u':');
            const double named = parts.size() == 2 ? parts[0].toDouble() + parts[1].toDouble() / 60
                                                   : parts[0].toDouble();
            QCOMPARE(tick.minute, named);
            shown << tick.label;
        }
        QCOMPARE(shown, labels);
    }

    void replayShowsEachMoment()
    {
        // Long enough to pass several kept texts, with deletions between.
        const KeyTimeline run = [] {
            KeyTimeline typed = typedRun(QString(3000, u'字'), personLikePace(3));
            for (size_t i = 40; i < typed.edits.size(); i += 97)
                typed.edits.insert(
                        typed.edits.begin() + qsizetype(i),
                        typing(typed.edits[i - 1].atMs, typed.edits[i - 1].position, {}, 1));
            // The edits after each deletion type the place again.
            qint32 position = 0;
            for (TimelineEdit &edit : typed.edits) {
                edit.position = edit.inserted.isEmpty() ? position - 1 : position;
                position += edit.inserted.isEmpty() ? -1 : 1;
            }
            return typed;
        }();
        const TypingReplay replay(run.edits);
        for (const size_t count : { size_t(0), size_t(1), size_t(511), size_t(512), size_t(513),
                                    size_t(1700), run.edits.size() }) {
            const std::vector<TimelineEdit> prefix(run.edits.begin(),
                                                   run.edits.begin() + qsizetype(count));
            const qint32 atMs = count == 0 ? 0 : prefix.back().atMs;
            if (count < run.edits.size() && count > 0 && run.edits[count].atMs == atMs)
                continue;  // two edits in one ms: no moment between them
            QCOMPARE(replay.textAt(atMs), *keytimeline::replayed(prefix));
        }
        QCOMPARE(replay.textAt(replay.lastEditMs()), *keytimeline::replayed(run.edits));
    }

    void playheadRunsAtItsFactorAndStopsAtTheEnd()
    {
        ReplayPlayhead playhead(10000);
        playhead.advance(100);
        QCOMPARE(playhead.atMs(), 0);  // paused
        playhead.setSpeedFactor(16);
        playhead.play();
        playhead.advance(100);
        QCOMPARE(playhead.atMs(), 1600);
        playhead.advance(1000);
        QCOMPARE(playhead.atMs(), 10000);
        QVERIFY(!playhead.playing());
        playhead.play();  // from the end: again from the start
        QCOMPARE(playhead.atMs(), 0);
        playhead.seek(-5);
        QCOMPARE(playhead.atMs(), 0);
        playhead.seek(20000);
        QCOMPARE(playhead.atMs(), 10000);
    }

    void replayColoursEachPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVector<TypedPiece>>("pieces");
        QTest::newRow("right to a line break")
                << u"甲乙\n"_qs << QVector<TypedPiece> { { true, u"甲乙\n"_qs } };
        QTest::newRow("a wrong character") << u"甲丙\n丙"_qs
                                           << QVector<TypedPiece> { { true, u"甲"_qs },
                                                                    { false, u"丙"_qs },
                                                                    { true, u"\n丙"_qs } };
        QTest::newRow("a break too early")
                << u"甲\n"_qs << QVector<TypedPiece> { { true, u"甲"_qs }, { false, u"\n"_qs } };
        QTest::newRow("nothing typed") << QString() << QVector<TypedPiece>();
        QTest::newRow("beyond the end")
                << u"甲乙\n丙丁戊"_qs
                << QVector<TypedPiece> { { true, u"甲乙\n丙丁"_qs }, { false, u"戊"_qs } };
    }

    void replayColoursEachPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QVector<TypedPiece>, pieces);
        QCOMPARE(typedPieces(kPublished, typed), pieces);
    }
};

QTEST_GUILESS_MAIN(TestTypingCurve)
#include "tst_typingcurve.moc"
