// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's log over a real collection and clearing: what the examiner
// did and what the collection found, in the log file of the data folder.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "exchange/programlog.h"
#include "testrecords.h"

#include "control/consolecontroller.h"
#include "control/controllog.h"

#include <QtTest>

class TestConsoleLog : public QObject
{
    Q_OBJECT

private slots:
    void collectionAndClearing()
    {
        ConsoleRoom room;
        programlog::install(room.appFolder(), u"kestrix-server"_qs);
        console::ConsoleController controller(room.folders());
        writeResultFile(room.exchangeFolder, sampleRecord(u"一班"_qs, u"01"_qs, u"张三"_qs, 56));
        writeResultFile(room.exchangeFolder, sampleRecord(u"一班"_qs, u"02"_qs, u"李四"_qs, 40));
        QVERIFY(QDir(room.exchangeFolder).mkdir(u"一班-03-王五.zip"_qs));
        QVERIFY(!collectByHand(controller).isEmpty());
        QCOMPARE(controller.clearing().clear(), QStringList());

        QStringList logged;
        for (const QByteArray &line :
             readFile(room.app(u"logs/kestrix-server.log"_qs)).split('\n')) {
            if (line.contains(" kestrix.control: "))
                logged << QString::fromUtf8(line.mid(24));
        }
        const QStringList expected {
            u"info kestrix.control: collection by hand: 2 rows in the table from 2 records, "
            u"0 kept from before, 1 files skipped; 一班-03-王五.zip: 是文件夹"_qs,
            u"info kestrix.control: exam kept in the archive as 1 with 2 rows"_qs,
            u"info kestrix.control: 清空上次 done"_qs,
        };
        QCOMPARE(logged, expected);
    }

    // A flood raises thousands of doubts at once on the window's thread:
    // past the listed ones, one line counts the rest.
    void newDoubtsListedThenCounted()
    {
        static QStringList logged;
        const QtMessageHandler previous =
                qInstallMessageHandler([](QtMsgType, const QMessageLogContext &,
                                          const QString &message) { logged << message; });
        MarkedRow known;
        known.row.name = u"甲"_qs;
        known.marks.doubts = { u"旧"_qs };
        for (const int raised : { console::kListedDoubts, console::kListedDoubts + 1 }) {
            logged.clear();
            QVector<MarkedRow> now { known };
            for (int i = 0; i < raised; ++i)
                now[0].marks.doubts << QString::number(i);
            console::logNewDoubts(QVector<MarkedRow> { known }, now);
            QCOMPARE(logged.size(), console::kListedDoubts + (raised > console::kListedDoubts));
            QCOMPARE(logged[0], u"doubt raised:   甲 - 0"_qs);
            QCOMPARE(logged.last(),
                     raised > console::kListedDoubts ? u"and 1 more doubts raised, not listed"_qs
                                                     : u"doubt raised:   甲 - 19"_qs);
        }
        qInstallMessageHandler(previous);
    }
};

QTEST_GUILESS_MAIN(TestConsoleLog)
#include "tst_consolelog.moc"
