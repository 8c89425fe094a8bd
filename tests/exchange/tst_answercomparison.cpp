// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/answercomparison.h"

#include <QtTest>

// Every figure of a result rests on this comparison: the rows hold it to
// its edges (the text's last character, its final line break, a line break
// typed where a character belongs, text typed past the end).
class TestAnswerComparison : public QObject
{
    Q_OBJECT

private slots:
    void comparesPositionByPosition_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QString>("written");  // the blue overlay
        QTest::addColumn<QString>("erred");  // the red overlay
        // The target is "ab\r\n中文\r\n": 8 positions, 6 of them to type.
        QTest::newRow("complete") << u"ab\r\n中文"_qs << 6 << 0 << u"ab\r\n中文"_qs
                                  << u"  \u0020\u0020\u3000\u3000"_qs;
        QTest::newRow("last sign wrong")
                << u"ab\r\n中问"_qs << 5 << 1 << u"ab\r\n中\u3000"_qs << u"    \u3000文"_qs;
        QTest::newRow("final line break typed") << u"ab\r\n中文\r\n"_qs << 8 << 0
                                                << u"ab\r\n中文\r\n"_qs << u"    \u3000\u3000  "_qs;
        QTest::newRow("typed past the end") << u"ab\r\n中文\r\nxyz"_qs << 8 << 0
                                            << u"ab\r\n中文\r\n"_qs << u"    \u3000\u3000  "_qs;
        QTest::newRow("line break typed for a sign")
                << u"a\r\n"_qs << 1 << 2 << u"a  "_qs << u" b\r"_qs;
        QTest::newRow("one sign short of the end")
                << u"ab\r\n中"_qs << 5 << 0 << u"ab\r\n中"_qs << u"    \u3000"_qs;
        QTest::newRow("nothing typed") << QString() << 0 << 0 << QString() << QString();
    }

    void comparesPositionByPosition()
    {
        QFETCH(QString, typed);
        QFETCH(int, right);
        QFETCH(int, wrong);
        QFETCH(QString, written);
        QFETCH(QString, erred);
        AnswerComparison comparison(u"ab\r\n中文\r\n"_qs);
        comparison.compare(typed);
        QCOMPARE(comparison.rightCount(), right);
        QCOMPARE(comparison.errorCount(), wrong);
        QCOMPARE(comparison.comparedCount(), right + wrong);
        QCOMPARE(comparison.writeText(), written);
        QCOMPARE(comparison.errorText(), erred);
        // Compared again from the second position after other typing, the
        // verdicts are those of the whole text.
        AnswerComparison again(u"ab\r\n中文\r\n"_qs);
        again.compare(typed.left(1) + u"x\r\n中"_qs);
        again.compare(int(typed.size()), 1, [&typed](int from) { return typed.mid(from); });
        QCOMPARE(again.rightCount(), right);
        QCOMPARE(again.errorCount(), wrong);
        QCOMPARE(again.writeText(), written);
    }

    void completeLengthLeavesOutTheFinalLineBreak()
    {
        QCOMPARE(completeLength(u"ab\r\n中文\r\n"), 6);
        QCOMPARE(completeLength(u"ab\r\n中文"), 6);
        QCOMPARE(completeLength(u"ab\r"), 3);
        QCOMPARE(completeLength(u""), 0);
    }

    void figuresOfATypedText()
    {
        AnswerComparison comparison(QString(200, u'字'));
        comparison.compare(QString(150, u'字') + QString(50, u'子'));
        const AnswerFigures figures = scoreAnswer(comparison, 200, 300);
        QCOMPARE(figures.rightCount, 150);
        QCOMPARE(figures.errorCount, 50);
        QCOMPARE(figures.speed, 30.0f);
        QCOMPARE(figures.accuracy, 75.0f);
        QCOMPARE(scoreAnswer(comparison, 200, 0).speed, 0.0f);
    }
};

QTEST_APPLESS_MAIN(TestAnswerComparison)
#include "tst_answercomparison.moc"
