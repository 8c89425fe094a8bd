// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The class as the console watches it: the class list read off the
// window's thread.
#include "control/classcontroller.h"

#include <QProcess>
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
