// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds no honest record crosses, each at its edge, and a current
// client's record whose answer sheet is cut or damaged; the standard in
// force when records are judged.
#include "class/answercheck.h"
#include "class/plausibility.h"
#include "class/recordtexts.h"
#include "timeline/machinetyping.h"
#include "timeline/recordtimeline.h"
#include "typingruns.h"

#include <QtTest>

class TestPlausibility : public QObject
{
    Q_OBJECT

private slots:
    void boundsAtTheirEdges_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<int>("timePass");
        QTest::addColumn<int>("targetLen");
        QTest::addColumn<int>("typedLen");
        QTest::addColumn<int>("typedSoFar");
        QTest::addColumn<int>("resumes");
        QTest::addColumn<QStringList>("doubts");  // in a 10-minute exam, ceiling 300
        QTest::newRow("at both ceilings")
                << 300.0 << 200 << 900 << 1000 << 1000 << 0 << QStringList();
        QTest::newRow("speed just above the ceiling")
                << 301.0 << 200 << 900 << 1004 << 1004 << 0
                << QStringList { u"速度301超过每分钟300字，不是人能打出的"_qs,
                                 u"用时200秒打了1004字，快于每分钟300字"_qs };
        QTest::newRow("one character beyond the ceiling's rate")
                << 50.0 << 200 << 900 << 1001 << 1001 << 0
                << QStringList { u"用时200秒打了1001字，快于每分钟300字"_qs };
        QTest::newRow("the whole text in one second")
                << 22200.0 << 1 << 370 << 370 << 370 << 0
                << QStringList { u"速度22200超过每分钟300字，不是人能打出的"_qs,
                                 u"用时1秒打了370字，快于每分钟300字"_qs };
        QTest::newRow("a burst in the first seconds, judged over ten")
                << 0.0 << 2 << 900 << 50 << 50 << 0 << QStringList();
        QTest::newRow("one more in the first seconds")
                << 0.0 << 2 << 900 << 51 << 51 << 0
                << QStringList { u"用时2秒打了51字，快于每分钟300字"_qs };
        QTest::newRow("the typing box's 200 beyond the text")
                << 50.0 << 600 << 900 << 1100 << 1100 << 0 << QStringList();
        QTest::newRow("one beyond what the typing box takes")
                << 50.0 << 600 << 900 << 1101 << 1101 << 0
                << QStringList { u"打字数1101超过原文字数900加200"_qs };
        QTest::newRow("progress one beyond the typed length")
                << 50.0 << 600 << 900 << 880 << 881 << 0
                << QStringList { u"进度行的打字数881超过成绩的打字数880"_qs };
        QTest::newRow("progress of 99999")
                << 50.0 << 600 << 900 << 880 << 99999 << 0
                << QStringList { u"用时600秒打了99999字，快于每分钟300字"_qs,
                                 u"打字数99999超过原文字数900加200"_qs,
                                 u"进度行的打字数99999超过成绩的打字数880"_qs };
        QTest::newRow("resume count below zero")
                << 50.0 << 600 << 900 << 880 << 880 << -1 << QStringList { u"续考次数-1小于0"_qs };
    }
    void boundsAtTheirEdges()
    {
        QFETCH(double, speed);
        QFETCH(int, timePass);
        QFETCH(int, targetLen);
        QFETCH(int, typedLen);
        QFETCH(int, typedSoFar);
        QFETCH(int, resumes);
        QFETCH(QStringList, doubts);
        ResultRecord record { float(speed), 100,      qint16(timePass), targetLen, typedLen,
                              u"c1"_qs,     u"03"_qs, u"bing"_qs,       {} };
        record.progress =
                ResultProgress { 7, u"s1"_qs, ResultProgress::Phase::Finished, typedSoFar };
        record.answerSheet = AnswerSheet { "d", 10, resumes, QString() };
        ExamFacts facts;
        facts.examSeconds = 600;
        QCOMPARE(recordDoubts(record, facts), doubts);
    }

    void damagedSheetIsADoubt_data()
    {
        // Lines 1 to 14 of a current client's finished record.
        const QByteArray head = "40\r\n98\r\n60\r\n100\r\n2\r\n2\r\n2\r\n\"c1\"\r\n\"03\"\r\n"
                                "\"bing\"\r\n5\r\n\"s1\"\r\n\"finished\"\r\n2\r\n";
        const QByteArray sheetLines = "\"d\"\r\n10\r\n0\r\n";
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("doubt");
        QTest::newRow("intact") << head + sheetLines + "2\r\nab\r\n" << QString();
        QTest::newRow("byte count one too high") << head + sheetLines + "3\r\nab\r\n"
                                                 << u"答卷缺失或已损坏"_qs;
        QTest::newRow("byte count one short") << head + sheetLines + "1\r\nab\r\n"
                                              << u"答卷缺失或已损坏"_qs;
        QTest::newRow("lines 15 to 18 removed") << head + "ab\r\n" << u"答卷缺失或已损坏"_qs;
        QTest::newRow("no sheet at all") << head << u"答卷缺失或已损坏"_qs;
        QTest::newRow("an invalid GBK pair") << head + sheetLines + "2\r\n\x81\x7f\r\n"
                                             << u"答卷缺失或已损坏"_qs;
        QTest::newRow("an older client's ten lines")
                << head.first(head.indexOf("5\r\n\"s1\"")) << QString();
    }
    void damagedSheetIsADoubt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, doubt);
        const ResultRecordReading reading = readResultRecord(bytes);
        QVERIFY(reading.ok());
        const ExamFacts facts;  // no copy of the text: an intact sheet is not scored
        QCOMPARE(answerDoubt(*reading.record, checkAnswer(*reading.record, facts)), doubt);
    }

    // A changed standard judges the next collection, even of records
    // judged before under the old one.
    // Where every client of the exam writes the current format, what a
    // record lacks of it is said.
    void missingPartsOfTheFormat_data()
    {
        // Of p(rogress, finished, and sheet) or w (on the way), t(imeline) i(d)
        QTest::addColumn<QString>("parts");
        QTest::addColumn<bool>("currentClients");
        QTest::addColumn<QStringList>("doubts");
        QTest::newRow("whole") << u"pti"_qs << true << QStringList();
        QTest::newRow("no timeline") << u"pi"_qs << true << QStringList { u"缺少按键记录"_qs };
        QTest::newRow("no timeline, on the way") << u"wi"_qs << true << QStringList();
        QTest::newRow("ten lines, older clients may sit") << QString() << false << QStringList();
        QTest::newRow("ten lines")
                << QString() << true
                << QStringList { u"旧版格式的成绩记录：没有考试过程、答卷和按键记录，"
                                 u"这次考试的考生端不会写出这样的记录"_qs };
    }
    void missingPartsOfTheFormat()
    {
        QFETCH(QString, parts);
        ExamFacts facts;
        QFETCH(bool, currentClients);
        facts.currentClients = currentClients;
        ResultRecord record { 50, 100, 60, 900, 50, u"c1"_qs, u"03"_qs, u"bing"_qs, {} };
        if (!parts.isEmpty()) {
            record.progress = ResultProgress { 1, u"s1"_qs,
                                               parts[0] == u'p' ? ResultProgress::Phase::Finished
                                                                : ResultProgress::Phase::Typing,
                                               50 };
            record.answerSheet = AnswerSheet { "d", 10, 0, QString() };
        }
        if (parts.contains(u't'))
            record.sections.push_back({ u"timeline"_qs, "01" });
        if (parts.contains(u'i'))
            record.sections.push_back({ u"publication"_qs, "01" });
        QTEST(formatDoubts(record, facts), "doubts");
    }

    void theStandardInForceJudges()
    {
        const KeyTimeline run = typedRun(QString(250, u'a'), fixedPace(200));
        ResultRecord record { 301, 100, 60, 900, 250, u"c1"_qs, u"03"_qs, u"bing"_qs, {} };
        record.answerSheet = AnswerSheet { "d", 10, 0, QString(250, u'a') };
        record.sections.push_back(
                { keytimeline::kSectionName.toString(), keytimeline::encode(run) });
        ExamFacts facts;
        QCOMPARE(bounds::speedAboveCeiling(record, facts),
                 u"速度301超过每分钟300字，不是人能打出的"_qs);
        QVERIFY(examineTimeline(record, facts.publishedText, facts.judging.typing)
                        .doubts.value(0)
                        .startsWith(u"按键节奏不像人工输入"_qs));

        facts.judging.speedCeiling = 301;
        facts.judging.typing.minSpread = 0;
        QCOMPARE(bounds::speedAboveCeiling(record, facts), QString());
        QCOMPARE(examineTimeline(record, facts.publishedText, facts.judging.typing).doubts,
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPlausibility)
#include "tst_plausibility.moc"
