// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The check sign of a login code: every code drawn passes, every slip of one
// sign or swap of two neighbours is caught, and every way of typing the
// right code gives one key.
#include "exchange/logincode.h"
#include "exchange/recordsignature.h"

#include <QtTest>

namespace {

// Its check worked out by hand: the signs' values 13 17 18 14 16 21 7 2 8
// weighted 1..9 sum to 500 = 21*23 + 17; 10*19 = 190 = 8*23 + 6 = 23 - 17.
const QString kSample = QStringLiteral("KRTMPXA4CU");
const QString kAlphabet = QStringLiteral("2346789ACEFGHKMNPRTUWXY");
const QString kRefused = QStringLiteral(
        "登录码不对，请对照登录码纸条重新输入（共10个字母或数字，横线和空格可不输）");

}  // namespace

class TestLoginCode : public QObject
{
    Q_OBJECT

private slots:
    void drawnCodesPass()
    {
        QCOMPARE(logincode::alphabet(), kAlphabet);
        for (int i = 0; i < 1000; ++i) {
            const QString code = logincode::draw();
            QCOMPARE(code.size(), 10);
            QVERIFY2(logincode::problemOf(code).isEmpty(), qPrintable(code));
        }
    }

    void everySlipIsRefused()
    {
        QCOMPARE(logincode::problemOf(kSample), QString());
        for (int place = 0; place < kSample.size(); ++place) {
            for (const QChar sign : kAlphabet) {
                if (sign == kSample.at(place))
                    continue;
                QString wrong = kSample;
                wrong[place] = sign;
                QVERIFY2(logincode::problemOf(wrong) == kRefused, qPrintable(wrong));
            }
        }
        for (int place = 0; place + 1 < kSample.size(); ++place) {
            QString swapped = kSample;
            std::swap(swapped[place], swapped[place + 1]);
            QVERIFY2(logincode::problemOf(swapped) == kRefused, qPrintable(swapped));
        }
    }

    void typedForms_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("canonical");  // empty: refused
        QTest::newRow("as drawn") << kSample << kSample;
        QTest::newRow("printed") << u"KRT MPX A4CU"_qs << kSample;
        QTest::newRow("dashes, small letters") << u" krt-mpx-a4cu "_qs << kSample;
        QTest::newRow("full width") << u"ＫＲＴ－ＭＰＸ　Ａ４ＣＵ"_qs << kSample;
        QTest::newRow("V read for U") << u"KRTMPXA4CV"_qs << kSample;
        QTest::newRow("one sign short") << u"KRTMPXA4C"_qs << QString();
        QTest::newRow("one sign more") << u"KRTMPXA4CUU"_qs << QString();
        QTest::newRow("O for a zero-like sign") << u"KRTMPXA4CO"_qs << QString();
        QTest::newRow("empty") << QString() << QString();
        // Six signs of the earlier alphabet, as an earlier console drew them.
        QTest::newRow("earlier code") << u"ace-479"_qs << u"ACE479"_qs;
        QTest::newRow("earlier length, sign it never drew") << u"ACE472"_qs << QString();
    }
    void typedForms()
    {
        QFETCH(QString, typed);
        QFETCH(QString, canonical);
        QCOMPARE(logincode::problemOf(typed), canonical.isEmpty() ? kRefused : QString());
        if (!canonical.isEmpty())
            QCOMPARE(logincode::canonical(typed), canonical);
    }

    void everyFormDerivesOneKey_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("key");  // PBKDF2-HMAC-SHA256 worked out apart, hex
        const QByteArray sample =
                "f29a1a2eb9a2fc09716c04614508fdd8c46e3bd02283eb4d82b9770378b936ed";
        QTest::newRow("as drawn") << kSample << sample;
        QTest::newRow("typed loosely") << u"krt mpx-a4cv"_qs << sample;
        QTest::newRow("last sign wrong") << u"KRTMPXA4CW"_qs << QByteArray();
        // A code an earlier console drew and kept derives the key it always did.
        QTest::newRow("earlier code")
                << u"ace479"_qs
                << QByteArray("db30e175b3e603616bb3a8158a78415ca76fe35de675c53cd36ff31db3a98204");
    }
    void everyFormDerivesOneKey()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, key);
        const QByteArray derived = recordsignature::keyFor(
                typed, u"0123456789abcdef0123456789abcdef"_qs, u"一班\n07\n张三"_qs);
        if (key.isEmpty())
            QVERIFY(derived.toHex()
                    != "f29a1a2eb9a2fc09716c04614508fdd8c46e3bd02283eb4d82b9770378b936ed");
        else
            QCOMPARE(derived.toHex(), key);
    }

    void printedInGroups()
    {
        QCOMPARE(logincode::printed(kSample), u"KRT MPX A4CU"_qs);
        QCOMPARE(logincode::printed(u"ACE479"_qs), u"ACE479"_qs);
    }
};

QTEST_GUILESS_MAIN(TestLoginCode)
#include "tst_logincode.moc"
