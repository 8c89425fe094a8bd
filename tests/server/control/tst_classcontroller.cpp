// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The class as the console watches it: the class list read off the
// window's thread, and kept for the next start.
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
        ClassController live(m_root.path(), {});
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

    void rosterKeptForTheNextStart_data()
    {
        QTest::addColumn<QString>("list");  // the examiner's file, UTF-8
        QTest::addColumn<QString>("entries");  // as read back: department/number/name; ...
        QTest::newRow("without departments")
                << u"考号,姓名\n01,甲\n02,乙\n"_qs << u"/01/甲;/02/乙"_qs;
        QTest::newRow("numbers restarting in each class")
                << u"部门,考号,姓名\n一班,01,甲\n二班,01,乙\n"_qs << u"一班/01/甲;二班/01/乙"_qs;
        QTest::newRow("a comma and quotes in a name")
                << u"考号,姓名\n01,\"Smith, \"\"J\"\"\"\n"_qs << u"/01/Smith, \"J\""_qs;
    }

    void rosterKeptForTheNextStart()
    {
        QFETCH(QString, list);
        QFETCH(QString, entries);
        QTemporaryDir root;
        const QDir folder(root.path());
        const QString app = folder.filePath(u"app"_qs);
        QVERIFY(folder.mkpath(u"app"_qs) && folder.mkpath(u"名单"_qs));
        const auto read = [&] {
            QStringList shown;
            ClassController restarted(app, {});
            const QString problem = restarted.restoreKeptRoster();
            if (restarted.live().roster())
                for (const RosterEntry &entry : restarted.live().roster()->entries())
                    shown << QStringList { entry.department, entry.examNumber, entry.name }.join(
                            u'/');
            return std::make_pair(shown.join(u';'), problem);
        };
        // The first start: no list, nothing to say.
        QCOMPARE(read(), std::make_pair(QString(), QString()));
        // A damaged kept list is said, and a list loaded afterwards replaces it.
        QFile damaged(QDir(app).filePath(KeptRoster::listFileName()));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("no heading\n") > 0);
        damaged.close();
        QVERIFY(!read().second.isEmpty());

        QFile source(folder.filePath(u"名单/班级.csv"_qs));
        QVERIFY(source.open(QIODevice::WriteOnly) && source.write(list.toUtf8()) > 0);
        source.close();
        ClassController live(app, {});
        QCOMPARE(live.lastRosterFolder(), QString());
        QSignalSpy loaded(&live, &ClassController::rosterLoaded);
        QCOMPARE(live.loadRoster(source.fileName()), QString());
        QTRY_COMPARE(loaded.count(), 1);
        QCOMPARE(read(), std::make_pair(entries, QString()));
        QCOMPARE(ClassController(app, {}).lastRosterFolder(), folder.filePath(u"名单"_qs));
    }

private:
    QTemporaryDir m_root;
    QDir m_folder { m_root.path() };
};

QTEST_MAIN(TestClassController)
#include "tst_classcontroller.moc"
