// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One session's records as they arrive, held to the rules one record
// follows another by: each rule just inside and just outside its edge.
#include "collect/resultcollector.h"
#include "collect/sessionledger.h"
#include "testtimelines.h"

#include <QtTest>

namespace {

// A record's timeline section: "-" none; else a run typed from 0 ("t") or
// from the tenth second ("n") up to the seconds given, "s" with its first
// key a millisecond late, "c" counted per second.
std::vector<RecordSection> timelineSection(const QString &code)
{
    static const KeyTimeline run = typedByKeys(englishText(400, 7), 7);
    if (code == u"-")
        return {};
    const qint32 fromMs = code[0] == u'n' ? 10'000 : 0, toMs = code.mid(1).toInt() * 1000;
    KeyTimeline part;
    std::copy_if(run.keys.cbegin(), run.keys.cend(), std::back_inserter(part.keys),
                 [&](const TimelineKey &key) { return key.atMs >= fromMs && key.atMs < toMs; });
    std::copy_if(run.edits.cbegin(), run.edits.cend(), std::back_inserter(part.edits),
                 [&](const TimelineEdit &edit) { return edit.atMs >= fromMs && edit.atMs < toMs; });
    if (code[0] == u's')
        ++part.keys.front().atMs;
    return { { keytimeline::kSectionName.toString(),
               keytimeline::encode(code[0] == u'c' ? keytimeline::coarsened(part, 1) : part) } };
}

}  // namespace

class TestSessionRules : public QObject
{
    Q_OBJECT

private slots:
    void recordsFollowOneAnother_data()
    {
        // Each step: "arrival sequence phase timePass resumes", arrival in
        // seconds after the console began watching; the phase W, T or F.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("doubts");
        // Seconds after the console began watching; -1: not known.
        QTest::addColumn<int>("published");
        QTest::newRow("honest, every 30 seconds")
                << QStringList { u"0 1 W 0 0"_qs, u"10 2 T 0 0"_qs, u"40 3 T 30 0"_qs,
                                 u"70 4 T 60 0"_qs, u"75 5 F 64 0"_qs }
                << QStringList() << -1;
        QTest::newRow("time used goes back one second")
                << QStringList { u"0 1 T 30 0"_qs, u"30 2 T 29 0"_qs }
                << QStringList { u"用时从30秒退回到29秒"_qs } << -1;
        QTest::newRow("a resume at the last time seen")
                << QStringList { u"0 1 T 60 0"_qs, u"200 2 T 60 1"_qs } << QStringList() << -1;
        QTest::newRow("a resume before the last time seen")
                << QStringList { u"0 1 T 60 0"_qs, u"200 2 T 0 1"_qs }
                << QStringList { u"续考从用时0秒开始，早于此前记录的60秒"_qs } << -1;
        QTest::newRow("as many records as 30 seconds allow")
                << QStringList { u"0 1 T 30 0"_qs, u"30 7 T 60 0"_qs } << QStringList() << -1;
        QTest::newRow("one record more than 30 seconds allow")
                << QStringList { u"0 1 T 30 0"_qs, u"30 8 T 60 0"_qs }
                << QStringList { u"记录序号从1跳到8（30秒内）"_qs } << -1;
        QTest::newRow("a clock at the slack's edge")
                // 300 seconds arrived: slack 60 + 60.
                << QStringList { u"0 1 T 0 0"_qs, u"100 2 T 60 0"_qs, u"200 3 T 120 0"_qs,
                                 u"300 4 T 180 0"_qs }
                << QStringList() << -1;
        QTest::newRow("a clock one second slower")
                << QStringList { u"0 1 T 0 0"_qs, u"100 2 T 60 0"_qs, u"200 3 T 120 0"_qs,
                                 u"300 4 T 179 0"_qs }
                << QStringList { u"考生端计时偏慢：记录陆续到达的300秒里只计了179秒"_qs } << -1;
        QTest::newRow("a clock running fast")
                << QStringList { u"0 1 T 0 0"_qs, u"100 2 T 200 0"_qs }
                << QStringList { u"考生端计时偏快：记录陆续到达的100秒里计了200秒"_qs } << -1;
        QTest::newRow("a gap in the arrivals does not count")
                << QStringList { u"0 1 T 0 0"_qs, u"600 2 T 120 0"_qs } << QStringList() << -1;
        QTest::newRow("a finish never seen before, watched long enough")
                << QStringList { u"430 1 F 300 0"_qs } << QStringList { u"没有考试过程记录"_qs }
                << -1;
        QTest::newRow("a finish never seen before, the console started late")
                << QStringList { u"429 1 F 300 0"_qs } << QStringList() << -1;
        QTest::newRow("a finish after its waiting record")
                << QStringList { u"0 1 W 0 0"_qs, u"430 9 F 300 0"_qs } << QStringList() << -1;
        // Published when the console began watching.
        QTest::newRow("a lone finish begun at the grace's edge")
                << QStringList { u"50 1 F 60 0"_qs } << QStringList() << 0;
        QTest::newRow("a lone finish begun before the publication")
                << QStringList { u"49 1 F 60 0"_qs }
                << QStringList { u"开始早于考试发布：用时60秒，考试发布49秒后已收到"_qs } << 0;
        QTest::newRow("a lone finish, watched since the publication")
                << QStringList { u"200 1 F 130 0"_qs } << QStringList { u"没有考试过程记录"_qs }
                << 0;
        QTest::newRow("a lone finish shorter than the slowest interval")
                << QStringList { u"200 1 F 129 0"_qs } << QStringList() << 0;
    }
    void recordsFollowOneAnother()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, doubts);
        QFETCH(int, published);
        const QDateTime watching = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
        SessionLedger ledger;
        for (const QString &step : steps) {
            const QStringList part = step.split(u' ');
            ResultRecord record { 50,       100,        qint16(part[3].toInt()),
                                  900,      100,        u"c1"_qs,
                                  u"03"_qs, u"bing"_qs, {} };
            const auto phase = part[2] == u"W" ? ResultProgress::Phase::Waiting
                    : part[2] == u"T"          ? ResultProgress::Phase::Typing
                                               : ResultProgress::Phase::Finished;
            record.progress = ResultProgress { part[1].toInt(), u"s1"_qs, phase, 100 };
            record.answerSheet = AnswerSheet { "d", 10, part[4].toInt(), QString() };
            const CollectedResult result {
                record, u"100"_qs, { { u"c1-03-bing.zip"_qs, { record, u"100"_qs, {} } } }
            };
            ledger.observe({ result }, watching.addSecs(part[0].toInt()), watching,
                           published < 0 ? QDateTime() : watching.addSecs(published));
        }
        QCOMPARE(ledger.entries().size(), 1);
        QCOMPARE(ledger.entries().first().timelineDoubts, doubts);
    }

    void timelinesGoOn_data()
    {
        // Each collection: its files as "sequence resumes timeline" (see
        // timelineSection), the files of one collection in name order.
        QTest::addColumn<QList<QStringList>>("collections");
        QTest::addColumn<QStringList>("doubts");
        const QStringList broken { u"按键记录与此前收到的不连续"_qs };
        QTest::newRow("each record goes on from the one before")
                << QList<QStringList> { { u"1 0 t0"_qs }, { u"2 0 t30"_qs }, { u"3 0 t60"_qs } }
                << QStringList();
        QTest::newRow("a key of the earlier run a millisecond off")
                << QList<QStringList> { { u"1 0 t30"_qs }, { u"2 0 s60"_qs } } << broken;
        QTest::newRow("every upload kept, a forged one among them")
                << QList<QStringList> { { u"1 0 t30"_qs, u"2 0 s60"_qs, u"3 0 s90"_qs } } << broken;
        QTest::newRow("an older client never sends one")
                << QList<QStringList> { { u"1 0 -"_qs }, { u"2 0 -"_qs } } << QStringList();
        QTest::newRow("none after earlier ones")
                << QList<QStringList> { { u"1 0 t30"_qs }, { u"2 0 -"_qs } }
                << QStringList { u"缺少按键记录"_qs };
        QTest::newRow("a resume goes on from its checkpoint")
                << QList<QStringList> { { u"1 0 t30"_qs }, { u"4 1 t90"_qs } } << QStringList();
        QTest::newRow("a resume that starts a new run")
                << QList<QStringList> { { u"1 0 t30"_qs }, { u"4 1 n90"_qs } } << broken;
        QTest::newRow("counted once too long, counts kept")
                << QList<QStringList> { { u"1 0 t30"_qs }, { u"2 0 c60"_qs } } << QStringList();
        QTest::newRow("counted, then fewer")
                << QList<QStringList> { { u"1 0 c60"_qs }, { u"2 0 c30"_qs } } << broken;
    }
    void timelinesGoOn()
    {
        QFETCH(QList<QStringList>, collections);
        QFETCH(QStringList, doubts);
        SessionLedger ledger;
        for (const QStringList &files : collections) {
            CollectedResult result;
            for (const QString &file : files) {
                const QStringList part = file.split(u' ');
                ResultRecord record { 50, 100, 0, 900, 100, u"c1"_qs, u"03"_qs, u"bing"_qs, {} };
                record.progress = ResultProgress { part[0].toInt(), u"s1"_qs,
                                                   ResultProgress::Phase::Typing, 100 };
                record.answerSheet = AnswerSheet { "d", 10, part[1].toInt(), QString() };
                record.sections = timelineSection(part[2]);
                result.record = record;
                result.files.append({ file, { record, u"100"_qs, {} } });
            }
            ledger.observe({ result }, QDateTime::currentDateTimeUtc());
        }
        QCOMPARE(ledger.entries().first().timelineDoubts, doubts);
    }
};

QTEST_GUILESS_MAIN(TestSessionRules)
#include "tst_sessionrules.moc"
