// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/numbers.h"

#include <QtTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void wholeNumbersFromText_data();
    void wholeNumbersFromText();
    void shortestSingleText_data();
    void shortestSingleText();
    void screenTextUsesLocaleDecimalPoint();
    void speedHasTwoDecimals_data();
    void speedHasTwoDecimals();
};

void TestNumbers::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("0.125 -> 0.12") << 0.125 << 2 << 0.12;
    QTest::newRow("0.375 -> 0.38") << 0.375 << 2 << 0.38;
    QTest::newRow("2.5 -> 2") << 2.5 << 0 << 2.0;
    QTest::newRow("3.5 -> 4") << 3.5 << 0 << 4.0;
    QTest::newRow("12.5 -> 12") << 12.5 << 0 << 12.0;
    QTest::newRow("13.5 -> 14") << 13.5 << 0 << 14.0;
    QTest::newRow("-2.5 -> -2") << -2.5 << 0 << -2.0;
    QTest::newRow("90 stays") << 90.0 << 2 << 90.0;
    QTest::newRow("2/3") << 200.0 / 3.0 << 2 << 66.67;
}

void TestNumbers::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(numbers::roundHalfEven(value, decimals), expected);
}

void TestNumbers::wholeNumbersFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");
    QTest::newRow("20") << u"20"_qs << true << 20;
    QTest::newRow("12.5") << u"12.5"_qs << true << 12;
    QTest::newRow("13.5") << u"13.5"_qs << true << 14;
    QTest::newRow("2.5") << u"2.5"_qs << true << 2;
    QTest::newRow("blanks around") << u"  30 "_qs << true << 30;
    QTest::newRow("negative") << u"-7"_qs << true << -7;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("letters") << u"abc"_qs << false << 0;
    QTest::newRow("comma decimal") << u"1,5"_qs << false << 0;
    QTest::newRow("too big for 16 bits") << u"32768"_qs << false << 0;
    QTest::newRow("largest 16 bits") << u"32767"_qs << true << 32767;
    QTest::newRow("nan") << u"nan"_qs << false << 0;
}

void TestNumbers::wholeNumbersFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const auto value = numbers::parseInt16(text);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(int(*value), expected);
}

void TestNumbers::shortestSingleText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("56.25") << 56.25f << u"56.25"_qs;
    QTest::newRow("98.5") << 98.5f << u"98.5"_qs;
    QTest::newRow("100") << 100.0f << u"100"_qs;
    QTest::newRow("0") << 0.0f << u"0"_qs;
    QTest::newRow("-0") << -0.0f << u"0"_qs;
    QTest::newRow("66.67") << numbers::twoDecimals(200.0 / 3.0) << u"66.67"_qs;
    QTest::newRow("0.12") << 0.12f << u"0.12"_qs;
    QTest::newRow("seven digits") << 12345.67f << u"12345.67"_qs;
    QTest::newRow("large whole") << 12345678.0f << u"12345680"_qs;
    QTest::newRow("negative") << -3.5f << u"-3.5"_qs;
    QTest::newRow("tiny") << 0.0001f << u"0.0001"_qs;
}

void TestNumbers::shortestSingleText()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(numbers::singleText(value), text);
}

void TestNumbers::screenTextUsesLocaleDecimalPoint()
{
    QCOMPARE(numbers::singleTextForScreen(56.25f, QLocale(QLocale::German)), u"56,25"_qs);
    QCOMPARE(numbers::singleTextForScreen(56.25f, QLocale(QLocale::Chinese, QLocale::China)),
             u"56.25"_qs);
}

void TestNumbers::speedHasTwoDecimals_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 111.0 << u"111.00"_qs;
    QTest::newRow("one decimal") << 112.8 << u"112.80"_qs;
    QTest::newRow("a record's single") << double(66.35f) << u"66.35"_qs;
    QTest::newRow("a mean of thirds") << 343.0 / 6.0 << u"57.17"_qs;
    QTest::newRow("half down to even") << 0.125 << u"0.12"_qs;
    QTest::newRow("half up to even") << 0.375 << u"0.38"_qs;
    QTest::newRow("just below a hundredth") << 0.004999 << u"0.00"_qs;
    QTest::newRow("nothing typed") << 0.0 << u"0.00"_qs;
    QTest::newRow("below zero by a trace") << -0.001 << u"0.00"_qs;
}

void TestNumbers::speedHasTwoDecimals()
{
    QFETCH(double, speed);
    QFETCH(QString, text);
    QCOMPARE(numbers::speedText(speed), text);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
