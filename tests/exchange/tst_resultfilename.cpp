// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Result file names: the name a record's identity gives and the names that
// match it, as the console checks the files it collects.
#include "exchange/resultfilename.h"

#include <QtTest>

class TestResultFileName : public QObject
{
    Q_OBJECT

private slots:
    void namesMatchTheirIdentity_data()
    {
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("matches");
        const QString longName = QString(70, u'名');
        const QString shortened = resultname::forIdentity(u"一班"_qs, u"1"_qs, longName);
        QTest::newRow("plain") << u"一班"_qs << u"07"_qs << u"张三"_qs << u"一班-07-张三.zip"_qs
                               << true;
        QTest::newRow("numbered") << u"一班"_qs << u"07"_qs << u"张三"_qs
                                  << u"一班-07-张三~12.zip"_qs << true;
        QTest::newRow("number one is never written")
                << u"一班"_qs << u"07"_qs << u"张三"_qs << u"一班-07-张三~1.zip"_qs << false;
        QTest::newRow("another number")
                << u"一班"_qs << u"07"_qs << u"张三"_qs << u"一班-08-张三.zip"_qs << false;
        QTest::newRow("signs replaced")
                << u"a/b"_qs << u"1:2"_qs << u"x*"_qs << u"a_b-1_2-x_.zip"_qs << true;
        QTest::newRow("leading dots")
                << u"..a"_qs << u"1"_qs << u"x"_qs << u"__a-1-x.zip"_qs << true;
        QTest::newRow("long name shortened with its hash")
                << u"一班"_qs << u"1"_qs << longName << shortened << true;
        QTest::newRow("shortened name of another long name")
                << u"一班"_qs << u"1"_qs << QString(71, u'名') << shortened << false;
    }

    void namesMatchTheirIdentity()
    {
        QFETCH(QString, department);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, fileName);
        QFETCH(bool, matches);
        QCOMPARE(resultname::matchesIdentity(fileName, department, number, name), matches);
        QVERIFY(resultname::forIdentity(department, number, name).toUtf8().size() <= 200);
    }
};

QTEST_GUILESS_MAIN(TestResultFileName)
#include "tst_resultfilename.moc"
