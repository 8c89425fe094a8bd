// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's window comes back where it was left, onto a screen that
// exists now, and the preferences keep the place across a restart.
#include "control/windowplace.h"
#include "settings/consolepreferences.h"

#include <QTemporaryDir>
#include <QtTest>

using console::placeOnScreens;
using console::WindowPlace;

class TestWindowPlace : public QObject
{
    Q_OBJECT

private slots:
    void keptPlaceLandsOnAScreen_data()
    {
        QTest::addColumn<QRect>("kept");
        QTest::addColumn<QRect>("placed");
        // A 1920×1040 screen with a second one of 1280×1024 to its right;
        // the classic window is 672×503.
        QTest::newRow("on the first screen")
                << QRect(100, 20, 1600, 1000) << QRect(100, 20, 1600, 1000);
        QTest::newRow("on the second screen")
                << QRect(2000, 100, 1000, 800) << QRect(2000, 100, 1000, 800);
        QTest::newRow("straddling: onto the screen holding most")
                << QRect(1700, 100, 1000, 800) << QRect(1920, 100, 1000, 800);
        QTest::newRow("on a screen since unplugged")
                << QRect(4000, 100, 800, 600) << QRect(1120, 100, 800, 600);
        QTest::newRow("above every screen")
                << QRect(100, -900, 800, 600) << QRect(100, 0, 800, 600);
        QTest::newRow("below the first screen's bottom")
                << QRect(100, 100, 1600, 1000) << QRect(100, 40, 1600, 1000);
        QTest::newRow("larger than its screen")
                << QRect(2000, 0, 1600, 1200) << QRect(1920, 0, 1280, 1024);
        QTest::newRow("smaller than the classic size")
                << QRect(100, 100, 300, 200) << QRect(100, 100, 672, 503);
    }

    void keptPlaceLandsOnAScreen()
    {
        QFETCH(QRect, kept);
        QFETCH(QRect, placed);
        const QVector<QRect> screens { QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024) };
        QCOMPARE(placeOnScreens(kept, screens, QSize(672, 503)), placed);
    }

    void placeKeptAcrossARestart()
    {
        QTemporaryDir app;
        QVERIFY(!ConsolePreferences(app.path()).windowPlace());  // first start: the classic size
        QCOMPARE(
                ConsolePreferences(app.path()).setWindowPlace({ QRect(-10, 20, 1600, 1000), true }),
                QString());
        const std::optional<WindowPlace> read = ConsolePreferences(app.path()).windowPlace();
        QVERIFY(read);
        QCOMPARE(read->inside, QRect(-10, 20, 1600, 1000));
        QVERIFY(read->maximised);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlace)
#include "tst_windowplace.moc"
