// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the console keeps its data, and taking over what an earlier start
// left elsewhere, on real folders.
#include "control/dataplace.h"
#include "testfiles.h"

#include "kestrixversion.h"

#include <QTemporaryDir>
#include <QtTest>

class TestDataPlace : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        qunsetenv("KESTRIX_APP_DIR");
        for (const char *sub : { "program", "start", "user" })
            QVERIFY(m_dir.mkpath(QLatin1String(sub)));
    }

    void cleanup() { QVERIFY(m_dir.removeRecursively()); }

    void installedCopiesUseTheUserDataFolder_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("expected");  // application, database
        QTest::newRow("portable") << false << QStringList { u"program"_qs, u"start"_qs };
        QTest::newRow("installed") << true << QStringList { u"user"_qs, u"user"_qs };
    }

    void installedCopiesUseTheUserDataFolder()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, expected);
        if (installed)
            QVERIFY(writeFile(path(u"program/"_qs + QLatin1String(KESTRIX_INSTALLED_MARK)), {}));
        const DataPlace::Folders folders = DataPlace::choose(
                path(u"program"_qs), path(u"program"_qs), path(u"start"_qs), path(u"user"_qs));
        QCOMPARE(folders.installed, installed);
        QCOMPARE((QStringList { folders.application, folders.database }),
                 (QStringList { path(expected[0]), path(expected[1]) }));
    }

    void takesOverOnceAndOverwritesNothing()
    {
        writeFile(path(u"user/time.txt"_qs), "20\r\n");
        writeFile(path(u"user/cj.mdb"_qs), "newer");
        writeFile(path(u"program/time.txt"_qs), "20\r\n");  // the same: nothing to say
        writeFile(path(u"program/test.txt"_qs), "text");
        writeFile(path(u"program/cj.mdb"_qs), "older");
        writeFile(path(u"program/cj.mdb-wal"_qs), "last rows");  // goes with its file
        writeFile(path(u"start/fb.txt"_qs), "published");
        const QString told =
                DataPlace::takeOver(path(u"user"_qs), { path(u"program"_qs), path(u"start"_qs) });
        QVERIFY2(told.contains(u"test.txt"_qs) && told.contains(u"fb.txt"_qs)
                         && told.contains(u"cj.mdb"_qs) && !told.contains(u"time.txt"_qs),
                 qPrintable(told));
        QCOMPARE(readFile(path(u"user/cj.mdb"_qs)), "newer");
        QCOMPARE(readFile(path(u"user/旧位置的数据/cj.mdb"_qs)), "older");
        QCOMPARE(readFile(path(u"user/旧位置的数据/cj.mdb-wal"_qs)), "last rows");
        QVERIFY(!QFile::exists(path(u"user/cj.mdb-wal"_qs)));
        QCOMPARE(readFile(path(u"user/test.txt"_qs)), "text");
        QCOMPARE(readFile(path(u"user/fb.txt"_qs)), "published");
        // Once: what appears there later stays there.
        writeFile(path(u"program/exchange.txt"_qs), "d:\\other\r\n");
        QCOMPARE(DataPlace::takeOver(path(u"user"_qs), { path(u"program"_qs) }), QString());
        QVERIFY(!QFile::exists(path(u"user/exchange.txt"_qs)));
    }

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_root;
    QDir m_dir { m_root.path() };
};

QTEST_GUILESS_MAIN(TestDataPlace)
#include "tst_dataplace.moc"
