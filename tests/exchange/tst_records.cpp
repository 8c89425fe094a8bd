// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/examlimits.h"
#include "exchange/examsettings.h"
#include "exchange/gbk.h"
#include "exchange/recordlines.h"
#include "exchange/resultrecord.h"

#include <QtTest>

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void settingsFileIsTwoCrLfLines();
    void settingsReadBack_data();
    void settingsReadBack();
    void resultRecordBytesAreExact();
    void resultRecordRoundTrip();
    void resultRecordRefusesDamagedFiles_data();
    void resultRecordRefusesDamagedFiles();
    void answerSheetRoundTrip_data();
    void answerSheetRoundTrip();
    void sectionsAfterTheSheet_data();
    void sectionsAfterTheSheet();
    void lineSplitting_data();
    void lineSplitting();
};

void TestRecords::settingsFileIsTwoCrLfLines()
{
    ExamSettings settings;
    settings.loginAllowed = true;
    settings.examMinutes = 20;
    QCOMPARE(settings.toRecordLines(), QByteArray("#TRUE#\r\n20\r\n"));
    settings.loginAllowed = false;
    settings.examMinutes = -5;
    QCOMPARE(settings.toRecordLines(), QByteArray("#FALSE#\r\n-5\r\n"));
}

void TestRecords::settingsReadBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("allowed");  // -1 unset, 0 false, 1 true
    QTest::addColumn<int>("minutes");  // -1 unset

    QTest::newRow("20 minutes") << QByteArray("#TRUE#\r\n20\r\n") << 2 << 1 << 20;
    QTest::newRow("login closed") << QByteArray("#FALSE#\r\n20\r\n") << 2 << 0 << 20;
    QTest::newRow("empty file") << QByteArray() << 0 << -1 << -1;
    QTest::newRow("extra lines ignored") << QByteArray("#TRUE#\r\n7\r\nxyz\r\n") << 3 << 1 << 7;
    QTest::newRow("no final line end") << QByteArray("#TRUE#\r\n45") << 2 << 1 << 45;
    QTest::newRow("minutes missing") << QByteArray("#TRUE#\r\n") << 1 << 1 << -1;
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x01zz\r\nabc") << 2 << -1 << -1;
    QTest::newRow("minutes overflow") << QByteArray("#TRUE#\r\n40000\r\n") << 2 << 1 << -1;
    QTest::newRow("half minute to even") << QByteArray("#TRUE#\r\n12.5\r\n") << 2 << 1 << 12;
}

void TestRecords::settingsReadBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QFETCH(int, allowed);
    QFETCH(int, minutes);

    const ExamSettingsReading reading = readExamSettings(bytes);
    QCOMPARE(reading.lineCount, lines);
    QCOMPARE(reading.loginAllowed.has_value(), allowed >= 0);
    if (allowed >= 0)
        QCOMPARE(*reading.loginAllowed, allowed == 1);
    QCOMPARE(reading.examMinutes.has_value(), minutes >= 0);
    if (minutes >= 0)
        QCOMPARE(int(*reading.examMinutes), minutes);
    QCOMPARE(reading.isComplete(), allowed >= 0 && minutes >= 0);
}

void TestRecords::resultRecordBytesAreExact()
{
    const ResultRecord record { 56.25f,         98.5f,         300,         1024, -3,
                                u"计算机系"_qs, u"2026-01"_qs, u"张 三"_qs, {} };

    const QByteArray expected = QByteArray("40\r\n98\r\n56.25\r\n98.5\r\n300\r\n1024\r\n-3\r\n\"")
            + gbk::encode(u"计算机系") + "\"\r\n\"2026-01\"\r\n\"" + gbk::encode(u"张 三")
            + "\"\r\n";
    QCOMPARE(record.toRecordLines(), expected);

    ResultRecord zero;
    zero.targetLen = 100;
    zero.department = zero.examNumber = zero.name = QStringLiteral("a");
    QCOMPARE(zero.toRecordLines(),
             QByteArray("40\r\n98\r\n0\r\n0\r\n0\r\n100\r\n0\r\n\"a\"\r\n\"a\"\r\n\"a\"\r\n"));

    ResultRecord full;
    full.speed = 100.0f;
    full.accuracy = 100.0f;
    QVERIFY(full.toRecordLines().startsWith("40\r\n98\r\n100\r\n100\r\n"));
}

void TestRecords::resultRecordRoundTrip()
{
    ResultRecord record { 45.0f, 90.0f, 60, 500, 50, u"一-班"_qs, u"-7-"_qs, u"李四-王五"_qs, {} };

    const QByteArray withoutProgress = record.toRecordLines();
    const ResultRecordReading reading = readResultRecord(withoutProgress);
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.record->speed, 45.0f);
    QCOMPARE(reading.accuracyLine, QStringLiteral("90"));
    QCOMPARE(int(reading.record->timePass), 60);
    QCOMPARE(reading.record->department, record.department);
    QCOMPARE(reading.record->examNumber, record.examNumber);
    QCOMPARE(reading.record->name, record.name);

    // Text lines lose their first and last character even without quotes.
    const QByteArray unquoted("40\r\n98\r\n1\r\n2\r\n3\r\n4\r\n5\r\nxABy\r\nxCDy\r\nxEFy\r\n");
    const ResultRecordReading bare = readResultRecord(unquoted);
    QVERIFY(bare.ok());
    QCOMPARE(bare.record->department, QStringLiteral("AB"));
    QCOMPARE(bare.record->name, QStringLiteral("EF"));
    QVERIFY(!bare.record->progress);

    // The progress lines follow line 10 and come back as written; the first
    // ten lines stay byte for byte what a ten-line reader expects.
    record.progress =
            ResultProgress { 3, QStringLiteral("a1b2"), ResultProgress::Phase::Typing, 77 };
    const QByteArray extended = record.toRecordLines();
    QVERIFY(extended.startsWith(withoutProgress));
    QCOMPARE(extended.mid(withoutProgress.size()),
             QByteArray("3\r\n\"a1b2\"\r\n\"typing\"\r\n77\r\n"));
    QCOMPARE(readResultRecord(extended).record->progress, record.progress);
    // An unknown phase leaves the record readable, without progress.
    QByteArray unknownPhase = extended;
    unknownPhase.replace("typing", "sleeping");
    QVERIFY(readResultRecord(unknownPhase).ok());
    QVERIFY(!readResultRecord(unknownPhase).record->progress);
}

void TestRecords::resultRecordRefusesDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good("40\r\n98\r\n1\r\n2\r\n3\r\n4\r\n5\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("nine lines") << good.left(good.lastIndexOf("\"c\""));
    QTest::newRow("speed not a number") << QByteArray(good).replace("\r\n1\r\n", "\r\nfast\r\n");
    QTest::newRow("time not a number") << QByteArray(good).replace("\r\n3\r\n", "\r\n\r\n");
    QTest::newRow("time overflows 16 bits")
            << QByteArray(good).replace("\r\n3\r\n", "\r\n99999\r\n");
    QTest::newRow("name shorter than two") << QByteArray(good).replace("\"c\"", "c");
    QTest::newRow("binary noise") << QByteArray("\x9d\x9d\x00\x01\r\r\r\n\xff", 9);
}

void TestRecords::resultRecordRefusesDamagedFiles()
{
    QFETCH(QByteArray, bytes);
    const ResultRecordReading reading = readResultRecord(bytes);
    QVERIFY(!reading.ok());
    QVERIFY(!reading.problem.isEmpty());
}

namespace {

ResultRecord sheetRecord(const QString &typed)
{
    ResultRecord record { 1, 2, 3, 4, 5, u"系"_qs, u"07"_qs, u"名"_qs, {}, {} };
    record.progress = ResultProgress { 2, u"s1"_qs, ResultProgress::Phase::Typing, 9 };
    record.answerSheet = AnswerSheet { "da39a3ee", 20, 1, typed };
    return record;
}

}  // namespace

void TestRecords::answerSheetRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hasSheet");
    const QString largest = QString(
            examlimits::kLongestExamTextCharacters + examlimits::kTypedBeyondTextCharacters, u'汉');
    const QByteArray good = sheetRecord(u"ab\r\n"_qs).toRecordLines();
    QTest::newRow("line ends inside")
            << sheetRecord(u"\r\n一\r\n\r\nx\r\n"_qs).toRecordLines() << true;
    QTest::newRow("full-width") << sheetRecord(u"，。！（Ａ）　“”"_qs).toRecordLines() << true;
    QTest::newRow("empty") << sheetRecord(QString()).toRecordLines() << true;
    QTest::newRow("largest") << sheetRecord(largest).toRecordLines() << true;
    QTest::newRow("cut short") << good.chopped(3) << false;
    QTest::newRow("count too big")
            << QByteArray(good).replace("\r\n4\r\nab", "\r\n5\r\nab") << false;
    QTest::newRow("count negative")
            << QByteArray(good).replace("\r\n4\r\nab", "\r\n-4\r\nab") << false;
    QTest::newRow("bytes after") << good + "x" << false;
    QTest::newRow("minutes not a number")
            << QByteArray(good).replace("\r\n20\r\n", "\r\nz\r\n") << false;
    QTest::newRow("not gbk") << QByteArray(good).replace("ab\r\n\r\n", "\x81\x20\r\n\r\n") << false;
}

// The typed text comes back exactly; a damaged sheet leaves lines 1 to 14
// readable, without it.
void TestRecords::answerSheetRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hasSheet);
    const ResultRecordReading reading = readResultRecord(bytes);
    QVERIFY(reading.ok());
    QVERIFY(reading.record->progress);
    QCOMPARE(reading.record->answerSheet.has_value(), hasSheet);
    if (!hasSheet)
        return;
    const AnswerSheet &sheet = *reading.record->answerSheet;
    QCOMPARE(sheetRecord(sheet.typedText).toRecordLines(), bytes);
    QVERIFY(bytes.size() <= examlimits::kMaxResultFileBytes);
}

void TestRecords::sectionsAfterTheSheet_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QStringList>("names");  // empty: the sheet counts as damaged
    QTest::newRow("none") << QByteArray() << QStringList { QString() };
    QTest::newRow("one") << QByteArray("\"timeline\"\r\n3\r\na\r\n\r\n")
                         << QStringList { u"timeline"_qs };
    QTest::newRow("empty body, then another")
            << QByteArray("\"x\"\r\n0\r\n\r\n\"sig-1\"\r\n2\r\nzz\r\n")
            << QStringList { u"x"_qs, u"sig-1"_qs };
    QTest::newRow("count one long") << QByteArray("\"a\"\r\n3\r\nab\r\n") << QStringList();
    QTest::newRow("count one short") << QByteArray("\"a\"\r\n1\r\nab\r\n") << QStringList();
    QTest::newRow("no closing line end") << QByteArray("\"a\"\r\n2\r\nab") << QStringList();
    QTest::newRow("unquoted name") << QByteArray("a\r\n2\r\nab\r\n") << QStringList();
    QTest::newRow("name with a blank") << QByteArray("\"a b\"\r\n0\r\n\r\n") << QStringList();
    QTest::newRow("negative count") << QByteArray("\"a\"\r\n-2\r\nab\r\n") << QStringList();
}

// Sections ride after the sheet; the ones read are written back to the same
// bytes, and anything that is not whole sections takes the sheet with it.
void TestRecords::sectionsAfterTheSheet()
{
    QFETCH(QByteArray, tail);
    QFETCH(QStringList, names);
    const QByteArray bytes = sheetRecord(u"ab"_qs).toRecordLines() + tail;
    const ResultRecordReading reading = readResultRecord(bytes);
    QVERIFY(reading.ok());
    QCOMPARE(reading.record->answerSheet.has_value(), !names.isEmpty());
    if (names.isEmpty())
        return;
    QStringList read;
    for (const RecordSection &section : reading.record->sections) {
        read << section.name;
        QCOMPARE(bytes.mid(section.offset, 1), QByteArray("\""));
    }
    QCOMPARE(read.isEmpty() ? QStringList { QString() } : read, names);
    QCOMPARE(reading.record->toRecordLines(), bytes);
}

void TestRecords::lineSplitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QStringLiteral("ab\r\nc\r\n\r\n")
                          << QStringList { u"ab"_qs, u"c"_qs, QString() };
    QTest::newRow("no final end") << QStringLiteral("ab\r\nc") << QStringList { u"ab"_qs, u"c"_qs };
    QTest::newRow("lone cr ends a line")
            << QStringLiteral("a\rb") << QStringList { u"a"_qs, u"b"_qs };
    QTest::newRow("lone lf stays") << QStringLiteral("a\nb\r\n") << QStringList { u"a\nb"_qs };
    QTest::newRow("empty") << QString() << QStringList();
}

void TestRecords::lineSplitting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitRecordLines(text), lines);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
