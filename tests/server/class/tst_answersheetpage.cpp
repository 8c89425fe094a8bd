// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A text typed to its end is complete: the final line break, which nobody
// types, leaves neither the 进度 column short of 100 % nor anything 未打 on
// the answer sheet.
#include "class/answersheetpage.h"
#include "class/liveclass.h"
#include "testrecords.h"

#include <QtTest>

class TestAnswerSheetPage : public QObject
{
    Q_OBJECT

private slots:
    void typedToItsEnd_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("percent");  // as the 进度 column shows it
        QTest::addColumn<int>("missing");  // 未打 on the answer sheet
        const QString poem = u"春眠不觉晓\r\n处处闻啼鸟\r\n"_qs;  // 12 to type, then the break
        QTest::newRow("to the end, final break left out")
                << poem << u"春眠不觉晓\r\n处处闻啼鸟"_qs << 100 << 0;
        QTest::newRow("to the end with the final break") << poem << poem << 100 << 0;
        QTest::newRow("one character short") << poem << u"春眠不觉晓\r\n处处闻啼"_qs << 92 << 1;
        QTest::newRow("no final break, one character short")
                << u"春眠不觉晓\r\n处处闻啼鸟"_qs << u"春眠不觉晓\r\n处处闻啼"_qs << 92 << 1;
        QTest::newRow("no final break, to the end")
                << u"春眠不觉晓\r\n处处闻啼鸟"_qs << u"春眠不觉晓\r\n处处闻啼鸟"_qs << 100 << 0;
        QTest::newRow("two final breaks, one typed")
                << u"春眠不觉晓\r\n\r\n"_qs << u"春眠不觉晓\r\n"_qs << 100 << 0;
        QTest::newRow("two final breaks, none typed")
                << u"春眠不觉晓\r\n\r\n"_qs << u"春眠不觉晓"_qs << 71 << 2;
    }

    void typedToItsEnd()
    {
        QFETCH(QString, target);
        QFETCH(QString, typed);
        QFETCH(int, percent);
        QFETCH(int, missing);
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs);
        record.targetLen = qint32(target.size());
        record.typedLen = qint32(typed.size());
        record.answerSheet = AnswerSheet { "digest", 10, 0, typed };
        const ExamFacts facts { 600, record.targetLen, true, target, "digest" };
        const QVector<CollectedResult> results { { record, u"98.5"_qs, {}, 0, 0 } };
        LiveClass live;
        live.update(results, facts);
        QCOMPARE(live.rows().size(), 1);
        const ClassViewRow &row = live.rows().first();
        QVERIFY(row.progress);
        QCOMPARE(qRound(*row.progress * 100), percent);

        const AnswerSheetPage page(row, &results.first(), facts);
        QCOMPARE(page.notice(), QString());
        QVERIFY2(page.recomputedLine().endsWith(u"未打%1字"_qs.arg(missing)),
                 qPrintable(page.recomputedLine()));
        // The grey rest is exactly what is missing.
        int grey = 0;
        for (const AnswerSheetPage::Run &run : page.runs())
            grey += run.mark == AnswerSheetPage::Mark::Missing ? run.length : 0;
        QCOMPARE(grey, missing);
    }
};

QTEST_MAIN(TestAnswerSheetPage)
#include "tst_answersheetpage.moc"
