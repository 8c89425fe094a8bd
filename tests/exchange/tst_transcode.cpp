// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/gbk.h"
#include "exchange/paths.h"
#include "testfiles.h"
#include "exchange/textencoding.h"
#include "exchange/transcode.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TestTranscode : public QObject
{
    Q_OBJECT

private slots:
    void roundTripRestoresEveryByte_data();
    void roundTripRestoresEveryByte();
    void scrambledBytesAreXorWithKey();
    void missingInputGivesEmptyOutput();
    void unwritableOutputIsReported();
    void gbkRoundTrip_data();
    void gbkRoundTrip();
    void gbkByteWidth();
    void gbkPartsWhatItStores_data();
    void gbkPartsWhatItStores();
    void utf8OrGbk_data();
    void utf8OrGbk();
    void exchangeFolderOverride();
    void workingFolderNeedsNewFiles();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TestTranscode::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    if (!writeFile(path, bytes))
        qFatal("cannot write test file");
    return path;
}

void TestTranscode::roundTripRestoresEveryByte_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("32767 bytes") << 32767;
    QTest::newRow("32768 bytes") << 32768;
    QTest::newRow("100000 bytes") << 100000;
}

void TestTranscode::roundTripRestoresEveryByte()
{
    QFETCH(int, length);
    QByteArray original(length, '\0');
    QRandomGenerator random(length);
    for (char &byte : original)
        byte = char(random.bounded(256));
    const QString plain = write(QStringLiteral("plain.bin"), original);
    const QString scrambled = m_dir.filePath(QStringLiteral("scrambled.bin"));
    const QString back = m_dir.filePath(QStringLiteral("back.bin"));

    QVERIFY(TranscodeFile(plain, scrambled, kExchangeKey));
    QCOMPARE(readFile(scrambled).size(), length);
    QVERIFY(TranscodeFile(scrambled, back, kExchangeKey));
    QVERIFY(QFile::exists(scrambled) && QFile::exists(back));
    QCOMPARE(readFile(back), original);
}

void TestTranscode::scrambledBytesAreXorWithKey()
{
    const QString plain = write(QStringLiteral("se.dll"), QByteArray("#TRUE#\r\n20\r\n"));
    const QString scrambled = m_dir.filePath(QStringLiteral("se1.dll"));
    write(QStringLiteral("se1.dll"), QByteArray(500, 'x'));  // replaced, not appended to
    QVERIFY(TranscodeFile(plain, scrambled, kExchangeKey));
    const QByteArray bytes = readFile(scrambled);
    QCOMPARE(bytes.size(), 12);
    QCOMPARE(quint8(bytes[0]), quint8('#' ^ 157));
    QCOMPARE(quint8(bytes[11]), quint8('\n' ^ 157));
}

void TestTranscode::missingInputGivesEmptyOutput()
{
    const QString output = write(QStringLiteral("out.bin"), QByteArray("old"));
    QVERIFY(TranscodeFile(m_dir.filePath(QStringLiteral("nothing-here")), output, kExchangeKey));
    QVERIFY(QFile::exists(output));
    QCOMPARE(readFile(output), QByteArray());
}

void TestTranscode::unwritableOutputIsReported()
{
    const QString plain = write(QStringLiteral("p.bin"), QByteArray("abc"));
    QVERIFY(!TranscodeFile(plain, m_dir.filePath(QStringLiteral("no/such/folder/out.bin")),
                           kExchangeKey));
}

void TestTranscode::gbkRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::newRow("ascii") << u"abc 123"_qs << 7;
    QTest::newRow("chinese") << u"打字考试"_qs << 8;
    QTest::newRow("full-width signs") << u"，。％／　"_qs << 10;
    QTest::newRow("mixed") << u"a中b"_qs << 4;
}

void TestTranscode::gbkRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    const QByteArray encoded = gbk::encode(text);
    QCOMPARE(encoded.size(), bytes);
    QCOMPARE(gbk::decode(encoded), text);
}

void TestTranscode::gbkByteWidth()
{
    QCOMPARE(gbk::unavailableProblem(), QString());
    QCOMPARE(gbk::byteWidth(u'a'), 1);
    QCOMPARE(gbk::byteWidth(u'\r'), 1);
    QCOMPARE(gbk::byteWidth(u'中'), 2);
    QCOMPARE(gbk::byteWidth(u'，'), 2);
    QCOMPARE(gbk::byteWidth(QChar(0x3000)), 2);
    QCOMPARE(gbk::byteWidth(QChar(0x0E01)), 1);  // Thai has no GBK form: stored as "?"
}

void TestTranscode::gbkPartsWhatItStores_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("refused");
    QTest::newRow("all stored") << u"a\r\n中，à★·"_qs << u"a\r\n中，à★·"_qs << QString();
    QTest::newRow("emoji after") << u"学校🏫"_qs << u"学校"_qs << u"🏫"_qs;
    QTest::newRow("emoji between") << u"a😀b"_qs << u"ab"_qs << u"😀"_qs;
    QTest::newRow("vowel GBK has, then one it lacks") << u"àâ"_qs << u"à"_qs << u"â"_qs;
    QTest::newRow("Thai") << u"กa"_qs << u"a"_qs << u"ก"_qs;
    QTest::newRow("lone low surrogate")
            << QString(QChar(0xDC00)) + u"中"_qs << u"中"_qs << QString(QChar(0xDC00));
}

void TestTranscode::gbkPartsWhatItStores()
{
    QFETCH(QString, text);
    const gbk::Parted parted = gbk::partStorable(text);
    QTEST(parted.kept, "kept");
    QTEST(parted.refused, "refused");
    QCOMPARE(gbk::decode(gbk::encode(parted.kept)), parted.kept);
}

void TestTranscode::utf8OrGbk_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");  // "<refused>" when neither
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("UTF-8") << u"中文"_qs.toUtf8() << u"中文"_qs;
    QTest::newRow("BOM dropped") << QByteArray("\xEF\xBB\xBF"
                                               "a")
                                 << u"a"_qs;
    QTest::newRow("BOM, then not UTF-8") << "\xEF\xBB\xBF" + gbk::encode(u"中") << u"<refused>"_qs;
    QTest::newRow("GBK") << gbk::encode(u"中文") << u"中文"_qs;
    // 联通 in GBK is C1AA CDA8: two overlong UTF-8 forms.
    QTest::newRow("overlong is GBK") << gbk::encode(u"联通") << u"联通"_qs;
    QTest::newRow("UTF-8 cut off is GBK") << QByteArray("ab\xE4\xB8") << u"ab涓"_qs;
    QTest::newRow("GBK cut off") << QByteArray("ab\xD6") << u"<refused>"_qs;
    QTest::newRow("neither") << QByteArray("ab\xff\xfe\xff") << u"<refused>"_qs;
}

void TestTranscode::utf8OrGbk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(textencoding::decodeUtf8OrGbk(bytes).value_or(u"<refused>"_qs), text);
}

void TestTranscode::exchangeFolderOverride()
{
    qputenv("KESTRIX_EXCHANGE_DIR", m_dir.path().toUtf8());
    QCOMPARE(paths::exchangeFolder(), m_dir.path());
    QVERIFY(paths::exchangeFolderIsReady(m_dir.path()));
    QVERIFY(!paths::exchangeFolderIsReady(m_dir.filePath(QStringLiteral("missing"))));
    qunsetenv("KESTRIX_EXCHANGE_DIR");
    QCOMPARE(paths::exchangeFolder(), paths::defaultExchangeFolder());

    write(QStringLiteral("time.txt"), QByteArray("20\r\n"));
    QVERIFY(paths::hasFileNamed(m_dir.path(), QStringLiteral("time.txt")));
    QVERIFY(!paths::hasFileNamed(m_dir.path(), QStringLiteral("test.txt")));
}

void TestTranscode::workingFolderNeedsNewFiles()
{
    QCOMPARE(paths::workingFolder(m_dir.path()), m_dir.path());
    // A folder that takes no new file (here: one that is not there) gives
    // way to the user's data folder, which then exists.
    const QString missing = m_dir.filePath(QStringLiteral("missing"));
    const QString fallback = paths::workingFolder(missing);
    QVERIFY(fallback != missing);
    QVERIFY(QFileInfo(fallback).isDir());
}

QTEST_GUILESS_MAIN(TestTranscode)
#include "tst_transcode.moc"
