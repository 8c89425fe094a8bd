// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The marks for machine typing on a record's keystroke timeline: runs at a
// person's pace pass, a tool's fixed pace and Chinese without an input
// method are marked, each rule at its threshold's edge, and a timeline that
// is damaged or tells another story than the sheet is a doubt, never a crash.
#include "timeline/machinetyping.h"
#include "timeline/recordtimeline.h"
#include "testtimelines.h"
#include "typingruns.h"

#include <QtTest>

#include <memory>

namespace {

const TypingThresholds kDefaults;

// A pace that plays the given intervals, then repeats the last.
KeyPace playing(QVector<double> intervals)
{
    auto next = std::make_shared<int>(0);
    return [intervals, next] {
        return intervals.at(std::min(int(intervals.size()) - 1, (*next)++));
    };
}

QVector<double> repeated(int count, double ms)
{
    return QVector<double>(count, ms);
}

// Intervals alternating mean - d, mean + d: a spread of d / mean.
QVector<double> alternating(int count, double mean, double d)
{
    QVector<double> intervals;
    for (int i = 0; i < count; ++i)
        intervals << (i % 2 ? mean + d : mean - d);
    return intervals;
}

QString latin(int count)
{
    return QString(count, u'a');
}

// An exam text of Chinese with punctuation and line breaks, `count` long.
QString article(int count)
{
    const QString verse = u"春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\n"_qs;
    QString text;
    while (text.size() < count)
        text += verse.at(text.size() % verse.size());
    return text;
}

ResultRecord recordOf(const KeyTimeline &timeline, const QString &typed, qint16 timePass)
{
    ResultRecord record;
    record.timePass = timePass;
    record.answerSheet = AnswerSheet { "digest", 10, 0, withCrLf(typed) };
    record.sections.push_back(
            { keytimeline::kSectionName.toString(), keytimeline::encode(timeline) });
    return record;
}

qint16 secondsOf(const KeyTimeline &timeline)
{
    return qint16(timeline.keys.back().atMs / 1000 + 1);
}

}  // namespace

Q_DECLARE_METATYPE(KeyTimeline)
Q_DECLARE_METATYPE(KeyPace)

class TestMachineTyping : public QObject
{
    Q_OBJECT

private slots:
    void personPassesMachineIsMarked_data()
    {
        QTest::addColumn<KeyTimeline>("run");
        QTest::addColumn<QStringList>("marks");  // each doubt's beginning
        const QString text = article(400);
        for (quint32 seed : { 1u, 2u, 3u })
            QTest::addRow("a person, seed %u", seed)
                    << typedRun(text, personLikePace(seed)) << QStringList();
        QTest::newRow("pinyin by words, the client's own test run")
                << typedByPinyin(chineseText(600, 9), 9) << QStringList();
        QTest::newRow("English with mistakes taken back, the client's own test run")
                << typedByKeys(englishText(600, 10), 10) << QStringList();
        QTest::newRow("a fast person") << typedRun(text, personLikePace(4, 110)) << QStringList();
        QTest::newRow("a slow person in English")
                << typedRun(latin(400), personLikePace(5, 400)) << QStringList();
        QTest::newRow("pinyin at a fixed delay")
                << typedRun(text, fixedPace(100)) << QStringList { u"按键节奏不像人工输入"_qs };
        KeyTimeline pasted = typedRun(text, personLikePace(11));
        for (int i = 0; i < 10; ++i)
            pasted = committed(pasted, article(9), 0, 1);
        QTest::newRow("pasted by the input method in 9-character pieces")
                << pasted << QStringList { u"输入法粘贴90字"_qs };
        QTest::newRow("Chinese as plain keys at a person's pace")
                << typedRun(text, personLikePace(6), HanziEntry::PlainKeys)
                << QStringList { u"汉字未经输入法输入（320字）"_qs };
        QTest::newRow("Chinese as plain keys at a fixed delay")
                << typedRun(text, fixedPace(50), HanziEntry::PlainKeys)
                << QStringList { u"汉字未经输入法输入（320字）"_qs, u"按键节奏不像人工输入"_qs };
    }

    void personPassesMachineIsMarked()
    {
        QFETCH(KeyTimeline, run);
        QFETCH(QStringList, marks);
        const TimelineFindings findings = examineTimeline(
                recordOf(run, *keytimeline::replayed(run.edits), secondsOf(run)), QString());
        QCOMPARE(findings.doubts.size(), marks.size());
        for (int i = 0; i < marks.size(); ++i)
            QVERIFY2(findings.doubts.at(i).startsWith(marks.at(i)),
                     qPrintable(findings.doubts.at(i)));
    }

    void hanziWithoutInputMethod_data()
    {
        QTest::addColumn<KeyTimeline>("run");
        QTest::addColumn<QString>("mark");
        QTest::newRow("four as plain keys")
                << typedRun(u"ab春眠不觉"_qs, fixedPace(300), HanziEntry::PlainKeys) << QString();
        QTest::newRow("five as plain keys")
                << typedRun(u"春眠不觉晓"_qs, fixedPace(300), HanziEntry::PlainKeys)
                << u"汉字未经输入法输入（5字）"_qs;
        QTest::newRow("fifty by the input method")
                << typedRun(article(60), fixedPace(300)) << QString();
        // Deleted and brought back by an undo: typed once, by the input method.
        KeyTimeline undone = typedRun(u"春眠不觉晓"_qs, fixedPace(300));
        undone.keys.push_back({ 5000, false });
        undone.edits.push_back({ 5000, 0, 5, {}, TimelineEdit::Source::Keys });
        undone.keys.push_back({ 6000, false });
        undone.edits.push_back({ 6000, 0, 0, u"春眠不觉晓"_qs, TimelineEdit::Source::Keys });
        QTest::newRow("an undo brings five back") << undone << QString();
    }

    void hanziWithoutInputMethod()
    {
        QFETCH(KeyTimeline, run);
        QFETCH(QString, mark);
        QCOMPARE(machinetyping::hanziWithoutInputMethod(run, kDefaults), mark);
    }

    void rhythm_data()
    {
        QTest::addColumn<KeyPace>("pace");
        QTest::addColumn<int>("keys");
        QTest::addColumn<bool>("marked");
        QTest::newRow("even over 199 intervals") << playing(repeated(1, 100)) << 200 << false;
        QTest::newRow("even over 200 intervals") << playing(repeated(1, 100)) << 201 << true;
        QTest::newRow("spread 0.29 over 200") << playing(alternating(300, 100, 29)) << 201 << true;
        QTest::newRow("spread 0.31 over 200") << playing(alternating(300, 100, 31)) << 201 << false;
        // Stretches between breaks add up; each is measured at its own pace.
        QVector<double> broken = repeated(100, 150);
        broken << 2500 << repeated(99, 150);
        QTest::newRow("even, 100 and 99 between breaks") << playing(broken) << 201 << false;
        broken = repeated(100, 150);
        broken << 2500 << repeated(100, 300);
        QTest::newRow("even, 100 and 100 between breaks") << playing(broken) << 202 << true;
        QTest::newRow("a metronome, 2.1 s after every 150 keys")
                << withPauses(fixedPace(150), 150, 2100) << 601 << true;
        for (quint32 seed : { 1u, 2u, 3u })
            QTest::addRow("a steady person at spread 0.35, the same pauses, seed %u", seed)
                    << withPauses(steadyPace(seed, 200, 0.35), 150, 2100) << 601 << false;
        QTest::newRow("a script jittered by 30 %, the same pauses")
                << withPauses(jitteredPace(1, 150, 0.3), 150, 2100) << 601 << true;
        QVector<double> burst = alternating(100, 200, 100);
        burst << repeated(30, 29) << alternating(100, 200, 100);
        QTest::newRow("30 intervals at 29 ms") << playing(burst) << 231 << true;
        burst = alternating(100, 200, 100);
        burst << repeated(30, 31) << alternating(100, 200, 100);
        QTest::newRow("30 intervals at 31 ms") << playing(burst) << 231 << false;
        burst = alternating(100, 200, 100);
        burst << repeated(29, 29) << alternating(100, 200, 100);
        QTest::newRow("29 intervals at 29 ms") << playing(burst) << 230 << false;
    }

    void rhythm()
    {
        QFETCH(KeyPace, pace);
        QFETCH(int, keys);
        QFETCH(bool, marked);
        const KeyTimeline run = typedRun(latin(keys), pace);
        QCOMPARE(
                machinetyping::inhumanRhythm(run, kDefaults).startsWith(u"按键节奏不像人工输入"_qs),
                marked);
    }

    void heldBackspaceIsNoRhythm()
    {
        KeyTimeline run = typedRun(latin(300), personLikePace(7));
        qint32 atMs = run.keys.back().atMs + 500;
        for (int i = 300; i > 0; --i, atMs += 33) {
            run.keys.push_back({ atMs, false });
            run.edits.push_back({ atMs, i - 1, 1, {}, TimelineEdit::Source::Keys });
        }
        QCOMPARE(machinetyping::inhumanRhythm(run, kDefaults), QString());
    }

    void largePieceWithoutKeys_data()
    {
        QTest::addColumn<int>("chars");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QString>("mark");
        QTest::newRow("10 with 4 keys")
                << 10 << 4 << u"大段文字无按键输入（一次出现10字，按键4次）"_qs;
        QTest::newRow("10 with 5 keys") << 10 << 5 << QString();
        QTest::newRow("9 without a key") << 9 << 0 << QString();
        QTest::newRow("3000 without a key")
                << 3000 << 0 << u"大段文字无按键输入（一次出现3000字，按键0次）"_qs;
    }

    void largePieceWithoutKeys()
    {
        QFETCH(int, chars);
        QFETCH(int, keys);
        QFETCH(QString, mark);
        KeyTimeline run = typedRun(u"开始"_qs, fixedPace(300));
        for (int k = 0; k < keys; ++k)
            run.keys.push_back({ 5000 + k * 100, false });
        run.edits.push_back(
                { 5000 + keys * 100, 2, 0, article(chars), TimelineEdit::Source::Keys });
        QCOMPARE(machinetyping::textWithoutKeys(run, kDefaults), mark);
    }

    void pastedThroughInputMethod_data()
    {
        QTest::addColumn<KeyTimeline>("run");
        QTest::addColumn<QString>("mark");
        // 400 characters typed by pinyin: more than 2 % pasted is 9 or more.
        const KeyTimeline typed = typedRun(article(400), fixedPace(300));
        QTest::newRow("400 by pinyin") << typed << QString();
        QTest::newRow("9 composed by 9 keys") << committed(typed, article(9), 9) << QString();
        QTest::newRow("9 without a composition")
                << committed(typed, article(9), 0) << u"输入法粘贴9字"_qs;
        QTest::newRow("8 without a composition") << committed(typed, article(8), 0) << QString();
        QTest::newRow("9 after 3 composing keys")
                << committed(typed, article(9), 3) << u"输入法粘贴9字"_qs;
        QTest::newRow("9 after 4 composing keys") << committed(typed, article(9), 4) << QString();
        QTest::newRow("10 without a composition")
                << committed(typed, article(10), 0) << u"输入法粘贴10字"_qs;
        QTest::newRow("30 after 14 arrows")
                << committed(typed, article(30), 0, 14) << u"输入法粘贴30字"_qs;
        QTest::newRow("30 after 14 composing keys")
                << committed(typed, article(30), 14) << QString();
        QTest::newRow("a composition chosen in parts")
                << committed(committed(typed, u"春眠"_qs, 11), u"不觉晓"_qs, 0) << QString();
        KeyTimeline pieces = typed, marks = typed, pairs = typed, composedPairs = typed;
        for (int i = 0; i < 4; ++i) {
            pieces = committed(pieces, article(3), 0, 1);
            marks = committed(marks, u"……"_qs, 0);
            pairs = committed(pairs, u"春眠"_qs, 0, 1);
            composedPairs = committed(composedPairs, u"春眠"_qs, 1, 1);
        }
        QTest::newRow("five pairs without a composition, an arrow between")
                << committed(pairs, u"春眠"_qs, 0, 1) << u"输入法粘贴10字"_qs;
        QTest::newRow("four pairs after a composing key each") << composedPairs << QString();
        QTest::newRow("four pieces of 3, an arrow between") << pieces << u"输入法粘贴12字"_qs;
        QTest::newRow("four ellipses, each by its key") << marks << QString();
        QTest::newRow("pinyin by words, the client's own test run")
                << typedByPinyin(chineseText(600, 9), 9) << QString();
    }

    void pastedThroughInputMethod()
    {
        QFETCH(KeyTimeline, run);
        QFETCH(QString, mark);
        QCOMPARE(machinetyping::pastedThroughInputMethod(run, kDefaults), mark);
    }

    void undoIsNoLargePiece()
    {
        KeyTimeline run = typedRun(article(40), personLikePace(8));
        const qint32 atMs = run.keys.back().atMs;
        run.keys.push_back({ atMs + 1000, false });
        run.edits.push_back({ atMs + 1000, 10, 30, {}, TimelineEdit::Source::Keys });
        run.keys.push_back({ atMs + 2000, false });
        run.edits.push_back(
                { atMs + 2000, 10, 0, article(40).mid(10), TimelineEdit::Source::Keys });
        QCOMPARE(machinetyping::textWithoutKeys(run, kDefaults), QString());
    }

    void disagreement_data()
    {
        QTest::addColumn<KeyTimeline>("run");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("timePass");
        QTest::addColumn<QString>("mark");
        KeyTimeline run = typedRun(u"甲乙\n丙"_qs, fixedPace(1000));  // its last key at 13 s
        QTest::newRow("the sheet's text") << run << u"甲乙\n丙"_qs << 20 << QString();
        QTest::newRow("another text") << run << u"甲乙\n丁"_qs << 20
                                      << u"按键记录与成绩不符（按键记录重放出的文字与答卷不同）"_qs;
        QTest::newRow("ends within the grace") << run << u"甲乙\n丙"_qs << 3 << QString();
        QTest::newRow("ends past the grace")
                << run << u"甲乙\n丙"_qs << 2
                << u"按键记录与成绩不符（按键记录到第13秒，用时只有2秒）"_qs;
        KeyTimeline broken = run;
        broken.edits.back().position = 9;
        QTest::newRow("an edit out of place")
                << broken << u"甲乙\n丙"_qs << 20
                << u"按键记录与成绩不符（按键记录中的改动前后接不上）"_qs;
        KeyTimeline coarse = keytimeline::coarsened(run, 1);
        QTest::newRow("counts that add up") << coarse << u"甲乙\n丙"_qs << 20 << QString();
        QTest::newRow("counts short of the sheet")
                << coarse << u"甲乙\n丙丁"_qs << 20
                << u"按键记录与成绩不符（按键记录共4字，答卷5字）"_qs;
    }

    void disagreement()
    {
        QFETCH(KeyTimeline, run);
        QFETCH(QString, sheet);
        QFETCH(int, timePass);
        QFETCH(QString, mark);
        ResultRecord record;
        record.timePass = qint16(timePass);
        record.answerSheet = AnswerSheet { "digest", 10, 0, withCrLf(sheet) };
        QCOMPARE(machinetyping::disagreesWithRecord(run, record, kDefaults), mark);
    }

    void damagedOrMissingTimeline_data()
    {
        QTest::addColumn<QByteArray>("section");  // empty: no timeline section
        QTest::addColumn<bool>("doubted");
        QTest::newRow("an older client's record") << QByteArray() << false;
        QTest::newRow("noise") << QByteArray("not a timeline at all") << true;
        QTest::newRow("cut short")
                << keytimeline::encode(typedRun(article(300), fixedPace(200))).left(100) << true;
        QTest::newRow("larger than any client writes")
                << QByteArray(keytimeline::kMaxEncodedBytes + 1, 'x') << true;
    }

    void damagedOrMissingTimeline()
    {
        QFETCH(QByteArray, section);
        QFETCH(bool, doubted);
        ResultRecord record;
        record.timePass = 60;
        record.answerSheet = AnswerSheet { "digest", 10, 0, u"甲"_qs };
        if (!section.isEmpty())
            record.sections.push_back({ keytimeline::kSectionName.toString(), section });
        const TimelineFindings findings = examineTimeline(record, QString());
        QCOMPARE(findings.doubts.size(), doubted ? 1 : 0);
        if (doubted)
            QVERIFY(findings.doubts.first().startsWith(u"按键记录与成绩不符（"_qs));
        QVERIFY(!findings.lastMinuteSpeed);
    }
};

QTEST_GUILESS_MAIN(TestMachineTyping)
#include "tst_machinetyping.moc"
