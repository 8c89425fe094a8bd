// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The class as the console watches it: what a collection does to the rows,
// and the class list read off the window's thread.
#include "control/classcontroller.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using console::ClassController;

class TestClassController : public QObject
{
    Q_OBJECT

private slots:
    // Every collection is shown, a failed one over the rows as they were.
    void collectionIsShown_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("collected, nobody left") << QString() << QStringList();
        QTest::newRow("failed") << u"磁盘已满"_qs << QStringList { u"甲"_qs };
    }

    void collectionIsShown()
    {
        QFETCH(QString, problem);
        QFETCH(QStringList, names);
        ClassController live;
        live.showStored({ { 1, u"一班"_qs, u"01"_qs, u"甲"_qs, 50, u"98"_qs, 60 } });
        QSignalSpy rows(&live, &ClassController::rowsChanged);
        QSignalSpy counts(&live, &ClassController::countsChanged);
        CollectionReport report;
        report.problem = problem;
        live.show(report, ExamFacts { 600, 10, true });
        QStringList shown;
        for (const ClassViewRow &row : live.live().rows())
            shown << row.name;
        QCOMPARE(shown, names);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(counts.size(), 1);
        live.clear();
        QVERIFY(live.live().rows().isEmpty());
        QCOMPARE(rows.size(), 2);
    }

    void rosterIsReadOffTheWindowsThread()
    {
#ifdef Q_OS_WIN
        QSKIP("a named pipe holds the reading back only on POSIX systems");
#else
        // A named pipe holds the reading until the test writes the list: the
        // console's event loop must keep turning meanwhile.
        const QString pipe = m_folder.filePath(u"名单.csv"_qs);
        QCOMPARE(QProcess::execute(u"mkfifo"_qs, { pipe }), 0);
        QFile writer(pipe);
        QVERIFY(writer.open(QIODevice::ReadWrite));
        ClassController live;
        QCOMPARE(live.loadRoster(pipe), QString());
        QVERIFY(!live.loadRoster(pipe).isEmpty());  // one list at a time
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
        clock.start(1);
        QTRY_VERIFY(ticks >= 3);
        QVERIFY(live.rosterLoading() && !live.live().roster().has_value());
        writer.write(u"考号,姓名\n01,甲\n"_qs.toUtf8());
        writer.close();
        QTRY_VERIFY(!live.rosterLoading());
        QVERIFY(live.live().roster().has_value());
#endif
    }

private:
    QTemporaryDir m_root;
    QDir m_folder { m_root.path() };
};

QTEST_MAIN(TestClassController)
#include "tst_classcontroller.moc"
