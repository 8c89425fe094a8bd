// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's preferences in kestrix.ini: what is kept is read back by the
// next start, and a file that cannot be written is said, then written once
// it can be. Each small file an earlier version kept a preference in is
// taken over once and removed, and stays where it is until it can be.
#include "settings/consolepreferences.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One preference as a line of text, so that every row compares in full.
QString shown(const ConsolePreferences &preferences, const QString &what)
{
    if (what == u"window") {
        const auto place = preferences.windowPlace();
        if (!place)
            return QStringLiteral("none");
        return QStringLiteral("%1,%2,%3,%4,%5")
                .arg(place->inside.left())
                .arg(place->inside.top())
                .arg(place->inside.width())
                .arg(place->inside.height())
                .arg(place->maximised);
    }
    if (what == u"roster")
        return preferences.rosterFolder();
    if (what == u"school") {
        const console::SchoolSetting school = preferences.school();
        return school.place + u'|' + school.lab + u'|' + school.teacher;
    }
    if (what == u"exchange")
        return preferences.exchangeFolder();
    if (what == u"codes")
        return preferences.loginCodesRequired() ? QStringLiteral("on") : QStringLiteral("off");
    if (what == u"article")
        return preferences.articleName();
    if (what == u"judging") {
        QStringList named;
        const QMap<QString, QString> texts = preferences.judgingTexts();
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            named << it.key() + u'=' + it.value();
        return named.join(u';');
    }
    QStringList rows;
    for (const QStringList &row : preferences.gradeRows().value_or(QVector<QStringList>()))
        rows << row.join(u',');
    return rows.join(u';');
}

}  // namespace

class TestConsolePreferences : public QObject
{
    Q_OBJECT

private slots:
    void languageKeptForTheNextStart()
    {
        QTemporaryDir data;
        QCOMPARE(ConsolePreferences(data.path()).language(), QString());
        QCOMPARE(ConsolePreferences(data.path()).setLanguage(QStringLiteral("en")), QString());
        QCOMPARE(ConsolePreferences(data.path()).language(), QStringLiteral("en"));
#ifdef Q_OS_WIN
        const QByteArray written("[window]\r\nlanguage=en\r\n");
#else
        const QByteArray written("[window]\nlanguage=en\n");
#endif
        QCOMPARE(readFile(data.filePath(QStringLiteral("kestrix.ini"))), written);
        // Back to following the system.
        QCOMPARE(ConsolePreferences(data.path()).setLanguage(QString()), QString());
        QCOMPARE(ConsolePreferences(data.path()).language(), QString());
    }

    void unwritableFileIsSaidThenWritten()
    {
        QTemporaryDir data;
        const QString file = data.filePath(QStringLiteral("kestrix.ini"));
        // A folder where the file should be: no user, root included, can write it.
        QVERIFY(QDir().mkdir(file));
        QCOMPARE(ConsolePreferences(data.path()).setLanguage(QStringLiteral("en")),
                 QStringLiteral("无法保存设置 %1").arg(QDir::toNativeSeparators(file)));
        QCOMPARE(ConsolePreferences(data.path()).language(), QString());
        QVERIFY(QDir().rmdir(file));
        QCOMPARE(ConsolePreferences(data.path()).setLanguage(QStringLiteral("zh_CN")), QString());
        QCOMPARE(ConsolePreferences(data.path()).language(), QStringLiteral("zh_CN"));
    }

    void oldFileTakenOverOnce_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("value");
        QTest::newRow("window.txt")
                << u"window.txt"_qs << QByteArray("-10\r\n20\r\n1600\r\n1000\r\n#TRUE#\r\n")
                << u"window"_qs << u"-10,20,1600,1000,1"_qs;
        QTest::newRow("window.txt, no width")
                << u"window.txt"_qs << QByteArray("100\r\n200\r\n0\r\n300\r\n#FALSE#\r\n")
                << u"window"_qs << u"none"_qs;
        QTest::newRow("rosterfolder.txt, UTF-8")
                << u"rosterfolder.txt"_qs << u"D:/名单\n"_qs.toUtf8() << u"roster"_qs
                << u"D:/名单"_qs;
        // 三号机房 and 李老师 in GBK.
        QTest::newRow("archive.txt, GBK")
                << u"archive.txt"_qs
                << QByteArray("postgresql://kestrix@10.0.0.5/school\r\n\xc8\xfd\xba\xc5\xbb\xfa"
                              "\xb7\xbf\r\n\xc0\xee\xc0\xcf\xca\xa6\r\n")
                << u"school"_qs << u"postgresql://kestrix@10.0.0.5/school|三号机房|李老师"_qs;
        // D:/打字/交换 in GBK.
        QTest::newRow("exchange.txt, GBK")
                << u"exchange.txt"_qs << QByteArray("D:/\xb4\xf2\xd7\xd6/\xbd\xbb\xbb\xbb\r\n")
                << u"exchange"_qs << u"D:/打字/交换"_qs;
        QTest::newRow("logincodes.txt, 1")
                << u"logincodes.txt"_qs << QByteArray("1\r\n") << u"codes"_qs << u"on"_qs;
        QTest::newRow("logincodes.txt, 2")
                << u"logincodes.txt"_qs << QByteArray("2\r\n") << u"codes"_qs << u"off"_qs;
        // 第一课 in GBK.
        QTest::newRow("testname.txt, GBK")
                << u"testname.txt"_qs << QByteArray("\xb5\xda\xd2\xbb\xbf\xce\r\n") << u"article"_qs
                << u"第一课"_qs;
        QTest::newRow("judging.txt")
                << u"judging.txt"_qs << QByteArray("speedCeiling = 250\r\nminSpread=0.35\r\n=1\r\n")
                << u"judging"_qs << u"minSpread=0.35;speedCeiling=250"_qs;
        QTest::newRow("pf.txt, UTF-8")
                << u"pf.txt"_qs << u"甲\t40.5\t92\t90\n\n乙\t0\t0\t60\n"_qs.toUtf8() << u"grades"_qs
                << u"甲,40.5,92,90;乙,0,0,60"_qs;
    }

    void oldFileTakenOverOnce()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, what);
        QFETCH(QString, value);
        QTemporaryDir data;
        const QString old = data.filePath(file);
        QVERIFY(writeFile(old, bytes));
        QCOMPARE(shown(ConsolePreferences(data.path()), what), value);
        QVERIFY(!QFile::exists(old));
        // The next start reads the store alone.
        QCOMPARE(shown(ConsolePreferences(data.path()), what), value);
    }

    // A data folder where nothing can be written: the old files stay, what
    // they hold is in force, and a change is refused; once the folder can
    // be written they are taken over.
    void oldFilesStayUntilTheStoreCanBeWritten()
    {
        QTemporaryDir data;
        QVERIFY(writeFile(data.filePath(u"judging.txt"_qs), "speedCeiling=250\r\n"));
        QVERIFY(writeFile(data.filePath(u"pf.txt"_qs), "甲\t1\t2\t3\n"));
        const QString store = data.filePath(QStringLiteral("kestrix.ini"));
        QVERIFY(QDir().mkdir(store));
        {
            ConsolePreferences blocked(data.path());
            QCOMPARE(shown(blocked, u"judging"_qs), u"speedCeiling=250"_qs);
            QCOMPARE(shown(blocked, u"grades"_qs), u"甲,1,2,3"_qs);
            QVERIFY(!blocked.setRosterFolder(u"D:/名单"_qs).isEmpty());
        }
        QVERIFY(QFile::exists(data.filePath(u"judging.txt"_qs)));
        QVERIFY(QFile::exists(data.filePath(u"pf.txt"_qs)));
        QVERIFY(QDir().rmdir(store));
        QCOMPARE(shown(ConsolePreferences(data.path()), u"judging"_qs), u"speedCeiling=250"_qs);
        QVERIFY(!QFile::exists(data.filePath(u"judging.txt"_qs)));
        QVERIFY(!QFile::exists(data.filePath(u"pf.txt"_qs)));
        QCOMPARE(shown(ConsolePreferences(data.path()), u"grades"_qs), u"甲,1,2,3"_qs);
    }

    // A file that cannot be read stays, named for the examiner, and takes
    // over nothing.
    void unreadableOldFileStaysNamed()
    {
        QTemporaryDir data;
        const QString old = data.filePath(u"judging.txt"_qs);
        QVERIFY(writeFile(old, QByteArray(16 * 1024 + 1, 'a')));
        const ConsolePreferences preferences(data.path());
        QVERIFY2(preferences.judgingProblem().contains(QDir::toNativeSeparators(old)),
                 qPrintable(preferences.judgingProblem()));
        QCOMPARE(preferences.judgingTexts(), (QMap<QString, QString>()));
        QVERIFY(QFile::exists(old));
    }
};

QTEST_GUILESS_MAIN(TestConsolePreferences)
#include "tst_consolepreferences.moc"
