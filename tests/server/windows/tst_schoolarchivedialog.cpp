// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// 考试设置's school archive dialog: 测试连接 against a server that is not
// there answers without holding the window, the button off meanwhile.
#include "childwidget.h"
#include "fakemessages.h"

#include "windows/schoolarchivedialog.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestSchoolArchiveDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { qunsetenv("KESTRIX_ARCHIVE"); }

    void connectionTestedInTheBackground_data()
    {
        QTest::addColumn<bool>("silent");  // accepts and never answers; else nothing listens
        QTest::newRow("nothing listens") << false;
        QTest::newRow("server silent") << true;
    }

    void connectionTestedInTheBackground()
    {
        QFETCH(bool, silent);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const quint16 port = server.serverPort();
        if (!silent)
            server.close();
        QTemporaryDir dir;
        ExamArchive local(dir.filePath(ExamArchive::defaultFileName()));
        console::SchoolController controller(local, dir.path());
        FakeMessages messages;
        SchoolArchiveDialog dialog(controller, &messages, nullptr);
        childOf<QRadioButton>(&dialog, "OptSchool")->setChecked(true);
        childOf<QLineEdit>(&dialog, "TxtPlace")
                ->setText(QStringLiteral("postgresql://kestrix@127.0.0.1:%1/school").arg(port));
        auto *test = childOf<QPushButton>(&dialog, "CmdTestConnection");
        const QLabel *answer = childOf<QLabel>(&dialog, "LblAnswer");

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        QElapsedTimer clock;
        clock.start();
        test->click();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!test->isEnabled());
        QCOMPARE(answer->text(), u"正在连接……"_qs);
        test->click();  // off: no second test

        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 15000);
        QVERIFY2(answer->text().contains(u"无法连接（服务器没有开启、地址不对或网络不通）"_qs),
                 qPrintable(answer->text()));
        // The window kept its events going while it waited: a tick at
        // least every 200 ms (the timer's 20 ms, slowed by a busy machine).
        QVERIFY2(ticks >= clock.elapsed() / 200,
                 qPrintable(u"%1 ticks in %2 ms"_qs.arg(ticks).arg(clock.elapsed())));
        // The silent server was reached, and waited on.
        QCOMPARE(server.hasPendingConnections(), silent);
    }
};

QTEST_MAIN(TestSchoolArchiveDialog)
#include "tst_schoolarchivedialog.moc"
