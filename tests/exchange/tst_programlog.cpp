// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own log: the files kept within their bound, a folder that
// refuses lines and then takes them again, the line a message becomes.
#include "exchange/programlog.h"
#include "smalldisk.h"
#include "testfiles.h"

#include <QtTest>

namespace {

// Lines "line 0001" ... of ten bytes each with their line break.
QByteArray lines(int first, int last)
{
    QByteArray bytes;
    for (int number = first; number <= last; ++number)
        bytes += "line " + QByteArray::number(number).rightJustified(4, '0') + '\n';
    return bytes;
}

}  // namespace

class TestProgramLog : public QObject
{
    Q_OBJECT

private slots:
    void rotation_data()
    {
        // Files of 100 bytes hold ten lines; three files are kept.
        QTest::addColumn<int>("written");
        QTest::addColumn<QByteArrayList>("files");  // newest first
        QTest::newRow("the first file full to its last byte")
                << 10 << QByteArrayList { lines(1, 10) };
        QTest::newRow("one line past it") << 11 << QByteArrayList { lines(11, 11), lines(1, 10) };
        QTest::newRow("every file full")
                << 30 << QByteArrayList { lines(21, 30), lines(11, 20), lines(1, 10) };
        QTest::newRow("the oldest dropped")
                << 35 << QByteArrayList { lines(31, 35), lines(21, 30), lines(11, 20) };
    }

    void rotation()
    {
        QFETCH(int, written);
        QFETCH(QByteArrayList, files);
        QTemporaryDir dir;
        RotatingLog log(dir.filePath(u"logs"_qs), u"kestrix-server.log"_qs, 100, 3);
        for (int number = 1; number <= written; ++number)
            QCOMPARE(log.append(QString::fromLatin1(lines(number, number).chopped(1))), QString());
        const QDir folder(dir.filePath(u"logs"_qs));
        QCOMPARE(folder.entryList(QDir::Files).size(), files.size());
        for (int index = 0; index < files.size(); ++index)
            QCOMPARE(readFile(folder.filePath(index ? u"kestrix-server.log.%1"_qs.arg(index)
                                                    : u"kestrix-server.log"_qs)),
                     files[index]);
    }

    void refusedThenWritten()
    {
        SmallDisk disk(64);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.problem()));
        RotatingLog log(disk.filePath(u"logs"_qs), u"kestrix-student.log"_qs);
        QCOMPARE(log.append(u"登录：一班 01 张三"_qs), QString());

        // A full disk: the line is not written, not even in part.
        QVERIFY(disk.fill());
        QVERIFY(!log.append(QString(2000, u'满')).isEmpty());
        QCOMPARE(readFile(log.path()), u"登录：一班 01 张三\n"_qs.toUtf8());
        QVERIFY(QFile::remove(disk.filePath(u".filler"_qs)));
        QCOMPARE(log.append(u"交卷"_qs), QString());
        QCOMPARE(readFile(log.path()), u"登录：一班 01 张三\n交卷\n"_qs.toUtf8());

        // A read-only folder, then writable again.
        QVERIFY(disk.setReadOnly(true));
        QVERIFY(!log.append(u"上传失败"_qs).isEmpty());
        QVERIFY(disk.setReadOnly(false));
        QCOMPARE(log.append(u"上传成功"_qs), QString());
        QCOMPARE(readFile(log.path()), u"登录：一班 01 张三\n交卷\n上传成功\n"_qs.toUtf8());
        // Messages go on past a refused line; after its time, the line in full.
        QVERIFY(disk.setReadOnly(true));
        programlog::install(disk.filePath(u"server"_qs), u"kestrix-server"_qs);
        qCInfo(lcDesktop) << "lost";
        // Debug messages are off unless the rules turn them on.
        qCDebug(lcExchange) << "never";
        QVERIFY(disk.setReadOnly(false));
        qCInfo(lcDesktop).noquote() << u"told: 成绩已获取\n跳过1个文件"_qs;
        const QByteArray written = readFile(disk.filePath(u"server/logs/kestrix-server.log"_qs));
        QCOMPARE(written.mid(23),
                 QByteArray(" info kestrix.desktop: told: 成绩已获取 | 跳过1个文件\n"));
        QCOMPARE(written.left(11), QDate::currentDate().toString(Qt::ISODate).toLatin1() + ' ');
    }
};

QTEST_GUILESS_MAIN(TestProgramLog)
#include "tst_programlog.moc"
