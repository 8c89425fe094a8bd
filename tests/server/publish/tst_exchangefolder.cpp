// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Emptying the exchange folder for the next exam, on real folders.
#include "publish/exchangefolder.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestExchangeFolder : public QObject
{
    Q_OBJECT

private slots:
    void clearsOnlyAForeignFolder_data()
    {
        QTest::addColumn<QString>("exchange");  // relative to the root
        QTest::addColumn<QString>("message");  // start of the message; empty: cleared
        QTest::newRow("own folder") << u"app"_qs << u"交换文件夹就是本程序的文件夹"_qs;
        QTest::newRow("own folder by ..")
                << u"exchange/../app"_qs << u"交换文件夹就是本程序的文件夹"_qs;
#ifndef Q_OS_WIN  // QFile::link makes a shortcut there, which no path goes through
        QTest::newRow("own folder by link") << u"link"_qs << u"交换文件夹就是本程序的文件夹"_qs;
#endif
        QTest::newRow("database folder") << u"db"_qs << u"交换文件夹就是本程序的文件夹"_qs;
        QTest::newRow("missing") << u"gone"_qs << u"Ftp服务器尚未设置好"_qs;
        QTest::newRow("exchange folder") << u"exchange"_qs << QString();
    }

    void clearsOnlyAForeignFolder()
    {
        QFETCH(QString, exchange);
        QFETCH(QString, message);
        QTemporaryDir root;
        const QDir dir(root.path());
        for (const char *sub : { "app", "db", "exchange" }) {
            QVERIFY(dir.mkdir(QLatin1String(sub)));
            QVERIFY(writeFile(dir.filePath(QLatin1String(sub) + u"/a.zip"_qs), {}));
        }
        QVERIFY(QFile::link(dir.filePath(u"app"_qs), dir.filePath(u"link"_qs)));

        const QString problem = clearExchangeFolder(
                dir.filePath(exchange), { dir.filePath(u"app"_qs), dir.filePath(u"db"_qs) });
        QVERIFY2(message.isEmpty() ? problem.isEmpty() : problem.startsWith(message),
                 qPrintable(problem));
        QCOMPARE(QFile::exists(dir.filePath(u"exchange/a.zip"_qs)), !message.isEmpty());
        QVERIFY(QFile::exists(dir.filePath(u"app/a.zip"_qs))
                && QFile::exists(dir.filePath(u"db/a.zip"_qs)));
    }

    void clearingRemovesFoldersWhereTheConsoleWrites()
    {
        QTemporaryDir exchange;
        const QDir dir(exchange.path());
        for (const char *folder : { "se.dll", "pb.txt", "一班-A19-秦一.zip", "te.txt/x", "other" })
            QVERIFY(dir.mkpath(QString::fromUtf8(folder)));
        const QString problem = clearExchangeFolder(exchange.path(), {});
        QVERIFY2(problem.contains(QDir::toNativeSeparators(dir.filePath(u"te.txt"_qs))),
                 qPrintable(problem));
        // Named, never emptied; a folder under any other name is not the console's.
        QCOMPARE(filesIn(exchange.path()), (QStringList { u"other"_qs, u"te.txt"_qs }));
        QCOMPARE(filesIn(dir.filePath(u"te.txt"_qs)), QStringList { u"x"_qs });
        QVERIFY(dir.rmdir(u"te.txt/x"_qs));
        QCOMPARE(clearExchangeFolder(exchange.path(), {}), QString());
        QCOMPARE(filesIn(exchange.path()), QStringList { u"other"_qs });
    }

    void missingFolderShowsTheWayOut_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("told");  // besides the folder not existing
        QTest::newRow("no such folder") << QDir::tempPath() + u"/kestrix-gone/typedata"_qs
                                        << u"请在“考试设置”中按“更改文件夹”"_qs;
#ifdef Q_OS_WIN
        QTest::newRow("no such drive") << u"q:\\typedata"_qs << u"（这台计算机没有 Q: 盘）"_qs;
#endif
    }

    void missingFolderShowsTheWayOut()
    {
        QFETCH(QString, folder);
        QFETCH(QString, told);
        const QString message = exchangeFolderMissingMessage(folder);
        QVERIFY2(message.contains(u"交换文件夹 "_qs + QDir::toNativeSeparators(folder)
                                  + u" 不存在"_qs)
                         && message.contains(told),
                 qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestExchangeFolder)
#include "tst_exchangefolder.moc"
