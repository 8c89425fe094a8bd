// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console's preferences in kestrix.ini: what is kept is read back by the
// next start, and a file that cannot be written is said, then written once
// it can be.
#include "control/consolepreferences.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestConsolePreferences)
#include "tst_consolepreferences.moc"
