// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Typed identities that are the same examinee, and ones that are not.
#include "exchange/identity.h"

#include <QtTest>

class TestIdentity : public QObject
{
    Q_OBJECT

private slots:
    void sameExaminee_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("same");
        QTest::newRow("letter case") << u"a2026002"_qs << u"A2026002"_qs << true;
        QTest::newRow("full-width digits") << u"２０２６００３"_qs << u"2026003"_qs << true;
        QTest::newRow("full-width letters and sign") << u"Ａ－７"_qs << u"a-7"_qs << true;
        QTest::newRow("trailing blank") << u"2026004 "_qs << u"2026004"_qs << true;
        QTest::newRow("ideographic spaces around a name") << u"　张三　"_qs << u"张三"_qs << true;
        QTest::newRow("tab and newline") << u"\t李四\n"_qs << u"李四"_qs << true;
        QTest::newRow("full-width brackets") << u"初二（3）班"_qs << u"初二(3)班"_qs << true;
        QTest::newRow("half-width katakana") << u"ｶﾅ"_qs << u"カナ"_qs << true;
        QTest::newRow("a bracket of another kind") << u"初二【3】班"_qs << u"初二(3)班"_qs << false;
        QTest::newRow("inner blank stays") << u"张 三"_qs << u"张三"_qs << false;
        QTest::newRow("leading zero stays") << u"012"_qs << u"12"_qs << false;
        QTest::newRow("different name") << u"张三"_qs << u"张山"_qs << false;
    }

    void sameExaminee()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        QFETCH(bool, same);
        QCOMPARE(identity::matchKey(typed) == identity::matchKey(listed), same);
    }

    // The fields stay apart: moving text between them is another person.
    void fieldsDoNotRunTogether()
    {
        QVERIFY(identity::personKey(u"一班1"_qs, u"2"_qs, u"张三"_qs)
                != identity::personKey(u"一班"_qs, u"12"_qs, u"张三"_qs));
    }
};

QTEST_GUILESS_MAIN(TestIdentity)
#include "tst_identity.moc"
