// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keystroke timeline as a record carries it: what goes in comes out,
// a long run stays within its bound by coarsening, and damaged bytes are a
// problem.
#include "exchange/keytimeline.h"
#include "testtimelines.h"

#include <QtTest>

Q_DECLARE_METATYPE(KeyTimeline)

namespace {

using Source = TimelineEdit::Source;

KeyTimeline handMadeRun()
{
    KeyTimeline timeline;
    timeline.keys = { { 0, false },  { 150, false }, { 420, true },  { 480, true },
                      { 530, true }, { 900, false }, { 1200, false } };
    timeline.edits = { { 0, 0, 0, QStringLiteral("a"), Source::Keys },
                       { 150, 1, 0, QStringLiteral("b"), Source::Keys },
                       { 530, 2, 0, QStringLiteral("你好"), Source::InputMethod },
                       { 900, 1, 1, QString(), Source::Keys },  // a key back in the middle
                       { 1200, 3, 0, QStringLiteral("\n"), Source::Keys } };
    return timeline;
}

}  // namespace

class TestKeyTimeline : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<KeyTimeline>("timeline");
        QTest::newRow("nothing typed") << KeyTimeline {};
        QTest::newRow("keys, a composition, a key back in the middle") << handMadeRun();
        KeyTimeline late;  // keys only, and an edit before the first key: a resumed clock
        late.keys = { { 32760000, false } };
        late.edits = { { 5, 0, 0, QStringLiteral("x"), Source::Keys } };
        QTest::newRow("an edit without its key, the longest exam's last second") << late;
        KeyTimeline counts;
        counts.coarse = true;
        counts.stepSeconds = 4;
        counts.steps = { { 7, 5, 3, 2, 1, 1 }, {}, { 1, 0, 1, 0, 0, 0 } };
        QTest::newRow("coarse") << counts;
        QTest::newRow("2,000 characters of pinyin") << typedByPinyin(chineseText(2000, 3), 4);
    }

    void roundTrip()
    {
        QFETCH(KeyTimeline, timeline);
        const auto reading = keytimeline::decode(keytimeline::encode(timeline));
        QCOMPARE(reading.problem, QString());
        QVERIFY(reading.timeline == timeline);
    }

    void replayEndsInTheTypedText()
    {
        QCOMPARE(keytimeline::replayed(handMadeRun().edits), QStringLiteral("a你好\n"));
        const QString text = englishText(2000, 5);
        QCOMPARE(keytimeline::replayed(typedByKeys(text, 6).edits), text);
        std::vector<TimelineEdit> beyond = { { 0, 0, 0, QStringLiteral("ab"), Source::Keys },
                                             { 10, 1, 2, QString(), Source::Keys } };
        QCOMPARE(keytimeline::replayed(beyond), std::nullopt);
        beyond[1].removed = 1;
        QCOMPARE(keytimeline::replayed(beyond), QStringLiteral("a"));
    }

    void coarsenedCountsEachStep()
    {
        KeyTimeline timeline = handMadeRun();
        timeline.edits.push_back({ 2000, 4, 0, QStringLiteral("汉a"), Source::Keys });
        const KeyTimeline counts = keytimeline::coarsened(timeline, 1);
        QVERIFY(counts.coarse);
        QCOMPARE(counts.steps.size(), size_t(3));
        // keys, into composition, inserted, by input method, hanzi by keys, removed
        QCOMPARE(counts.steps[0], (TimelineStep { 6, 3, 4, 2, 0, 1 }));
        QCOMPARE(counts.steps[1], (TimelineStep { 1, 0, 1, 0, 0, 0 }));
        QCOMPARE(counts.steps[2], (TimelineStep { 0, 0, 2, 0, 1, 0 }));
        const KeyTimeline wider = keytimeline::coarsened(counts, 2);
        QCOMPARE(wider.steps.size(), size_t(2));
        QCOMPARE(wider.steps[0], (TimelineStep { 7, 3, 5, 2, 0, 1 }));
    }

    // The realistic runs of a 30,000-character exam typed in full: English
    // by keys fits whole; pinyin takes several keys a character, and its
    // counts per step are what stays within the bound.
    void fullRunWithinBound_data()
    {
        QTest::addColumn<KeyTimeline>("timeline");
        QTest::addColumn<bool>("whole");
        QTest::newRow("English by keys") << typedByKeys(englishText(30000, 1), 2) << true;
        QTest::newRow("Chinese by pinyin") << typedByPinyin(chineseText(30000, 3), 4) << false;
    }

    void fullRunWithinBound()
    {
        QFETCH(KeyTimeline, timeline);
        QFETCH(bool, whole);
        const QByteArray bytes = keytimeline::encodeWithinBound(timeline);
        qInfo("whole %lld bytes, within bound %lld bytes",
              qlonglong(keytimeline::encode(timeline).size()), qlonglong(bytes.size()));
        QVERIFY(bytes.size() <= keytimeline::kMaxEncodedBytes);
        const auto reading = keytimeline::decode(bytes);
        QVERIFY(reading.timeline);
        QCOMPARE(!reading.timeline->coarse, whole);
        if (whole) {
            QVERIFY(*reading.timeline == timeline);
            return;
        }
        QCOMPARE(reading.timeline->stepSeconds, 1);
        qint64 keys = 0, byInputMethod = 0;
        for (const TimelineStep &step : reading.timeline->steps) {
            keys += step.keys;
            byInputMethod += step.insertedByInputMethod;
        }
        QCOMPARE(keys, qint64(timeline.keys.size()));
        QVERIFY(byInputMethod > 25000);
    }

    void countsPerSecondTooManyWidenTheStep()
    {
        // Counts that vary wildly in every second of the longest exam.
        KeyTimeline timeline;
        timeline.coarse = true;
        QRandomGenerator random(7);
        qint64 keys = 0;
        for (int second = 0; second < 546 * 60; ++second) {
            const TimelineStep step { random.bounded(1 << 20), random.bounded(1 << 20),
                                      random.bounded(1 << 20), random.bounded(1 << 20),
                                      random.bounded(1 << 20), random.bounded(1 << 20) };
            timeline.steps.push_back(step);
            keys += step.keys;
        }
        const QByteArray bytes = keytimeline::encodeWithinBound(timeline);
        QVERIFY(bytes.size() <= keytimeline::kMaxEncodedBytes);
        const auto reading = keytimeline::decode(bytes);
        QVERIFY(reading.timeline);
        QVERIFY(reading.timeline->stepSeconds > 1);
        qint64 keysRead = 0;
        for (const TimelineStep &step : reading.timeline->steps)
            keysRead += step.keys;
        QCOMPARE(keysRead, keys);
    }

    void damagedIsAProblem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const QString damaged = QStringLiteral("按键记录已损坏");
        const QByteArray good = keytimeline::encode(handMadeRun());
        QTest::newRow("empty") << QByteArray() << damaged;
        QTest::newRow("not compressed") << QByteArray("\x01\x00\x00\x00", 4) << damaged;
        QTest::newRow("cut short") << good.left(good.size() - 3) << damaged;
        QTest::newRow("a byte changed") << QByteArray(good).replace(6, 1, "\x00") << damaged;
        QTest::newRow("claims 100 MB")
                << QByteArray("\x06\x00\x00\x00xxxx", 8) << QStringLiteral("按键记录过大");
        QTest::newRow("beyond 64 KiB") << QByteArray(keytimeline::kMaxEncodedBytes + 1, 'x')
                                       << QStringLiteral("按键记录过大");
        QTest::newRow("unknown format") << qCompress(QByteArray("\x02\x00", 2)) << damaged;
        QTest::newRow("unknown kind") << qCompress(QByteArray("\x01\x02", 2)) << damaged;
        // Format, whole; 0 keys, 1 edit at 0 ms; position -1.
        QTest::newRow("a position before the text")
                << qCompress(QByteArray("\x01\x00\x00\x01\x02\x01\x00\x00\x00", 9)) << damaged;
        QTest::newRow("an inserted length beyond the texts")
                << qCompress(QByteArray("\x01\x00\x00\x01\x02\x00\x00\x02\x01z", 10)) << damaged;
        QTest::newRow("a count beyond the bytes")
                << qCompress(QByteArray("\x01\x00\xff\x01\x00", 5)) << damaged;
        QTest::newRow("bytes after the end")
                << qCompress(QByteArray("\x01\x00\x00\x00\x00\x00", 6)) << damaged;
        QTest::newRow("a step of no seconds")
                << qCompress(QByteArray("\x01\x01\x00\x00", 4)) << damaged;
        // The smallest good ones beside them.
        QTest::newRow("nothing, whole")
                << qCompress(QByteArray("\x01\x00\x00\x00\x00", 5)) << QString();
        QTest::newRow("an edit at 0")
                << qCompress(QByteArray("\x01\x00\x00\x01\x02\x00\x00\x01\x01z", 10)) << QString();
        QTest::newRow("nothing, coarse")
                << qCompress(QByteArray("\x01\x01\x01\x00", 4)) << QString();
    }

    void damagedIsAProblem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const auto reading = keytimeline::decode(bytes);
        QCOMPARE(reading.problem, problem);
        QCOMPARE(reading.timeline.has_value(), problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKeyTimeline)
#include "tst_keytimeline.moc"
