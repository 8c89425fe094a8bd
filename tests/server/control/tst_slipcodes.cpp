// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Slips printed before 允许登录 hold; only the same exam reopened keeps them.
#include "consoleroom.h"

#include <QtTest>

using console::ConsoleController;
using console::SlipCodes;

class TestSlipCodes : public QObject
{
    Q_OBJECT

private slots:
    void codesAcrossPublications_data()
    {
        QTest::addColumn<QString>("between");  // what happens after the first exam closes
        QTest::addColumn<bool>("sameCodes");
        QTest::newRow("reopened") << u"nothing"_qs << true;
        QTest::newRow("restarted, reopened") << u"restart"_qs << true;
        QTest::newRow("exam time changed") << u"time"_qs << false;
        QTest::newRow("cleared") << u"clear"_qs << false;
    }

    void codesAcrossPublications()
    {
        QFETCH(QString, between);
        QFETCH(bool, sameCodes);
        ConsoleRoom room;
        QVERIFY(writeFile(room.app(u"test.txt"_qs), "ab\r\n"));
        QVERIFY(writeFile(room.app(u"time.txt"_qs), "10\r\n"));
        QVERIFY(writeFile(room.work(u"名单.csv"_qs),
                          u"部门,考号,姓名\n一班,01,甲\n一班,02,乙\n"_qs.toUtf8()));
        auto controller = std::make_unique<ConsoleController>(room.folders());
        QCOMPARE(controller->liveClass().loadRoster(room.work(u"名单.csv"_qs)), QString());
        controller->liveClass().waitForRoster();
        QVERIFY(!controller->slipCodes().available());
        QCOMPARE(controller->settings().saveLoginCodesRequired(true), QString());
        QVERIFY(controller->slipCodes().available());
        // Slips whose codes cannot be kept for the next publication are not printed.
        QVERIFY(QDir(room.appFolder()).mkpath(u"fbdlmyb.txt/x"_qs));
        const SlipCodes::Slips refused = controller->slipCodes().forSlips();
        QVERIFY2(refused.problem.startsWith(u"无法保存登录码，没有生成登录码纸条："_qs),
                 qPrintable(refused.problem));
        QVERIFY(refused.codes.isEmpty());
        QVERIFY(QDir(room.app(u"fbdlmyb.txt"_qs)).removeRecursively());
        // Printed before class, and again: the same slips, those published.
        const QStringList printed = codesOf(controller->slipCodes().forSlips().codes);
        QCOMPARE(codesOf(controller->slipCodes().forSlips().codes), printed);
        QCOMPARE(controller->openLogin(), QString());
        QCOMPARE(codesOf(controller->slipCodes().loginCodes()), printed);
        QCOMPARE(codesOf(controller->slipCodes().forSlips().codes), printed);
        QCOMPARE(controller->closeLogin(), QString());
        if (between == u"restart") {
            controller = std::make_unique<ConsoleController>(room.folders());
            QCOMPARE(controller->liveClass().restoreKeptRoster(), QString());
        } else if (between == u"time") {
            QCOMPARE(controller->settings().saveSettings(u"11"_qs), QString());
        } else if (between == u"clear") {
            QCOMPARE(controller->clearing().clear(), QStringList());
        }
        const QStringList next = codesOf(controller->slipCodes().forSlips().codes);
        QCOMPARE(controller->openLogin(), QString());
        QCOMPARE(codesOf(controller->slipCodes().loginCodes()), next);
        QCOMPARE(next.size(), 2);
        for (int i = 0; i < next.size(); ++i) {
            QCOMPARE(next[i].section(u'|', 0, 2), printed[i].section(u'|', 0, 2));
            QCOMPARE(next[i] == printed[i], sameCodes);
        }
    }

private:
    static QStringList codesOf(const LoginCodes &codes)
    {
        QStringList lines;
        for (const CodedExaminee &examinee : codes.examinees())
            lines << u"%1|%2|%3|%4"_qs.arg(examinee.department, examinee.examNumber, examinee.name,
                                           examinee.code);
        return lines;
    }
};

QTEST_MAIN(TestSlipCodes)
#include "tst_slipcodes.moc"
