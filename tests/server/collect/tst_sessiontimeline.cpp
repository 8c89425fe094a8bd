// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One session's records as they arrive, held to the rules one record
// follows another by: each rule just inside and just outside its edge.
#include "collect/resultcollector.h"
#include "collect/sessionledger.h"

#include <QtTest>

class TestSessionTimeline : public QObject
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
};

QTEST_GUILESS_MAIN(TestSessionTimeline)
#include "tst_sessiontimeline.moc"
