// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One whole exam with the real windows of both programs and a real FTP
// service between them: the console publishes, a client logs in, types with
// some errors and finishes; the console collects, exports, closes and clears.
#include "childwidget.h"
#include "collectbyhand.h"
#include "fakes.h"
#include "windows/frmlogin.h"
#include "student/windows/frmmain.h"
#include "ftpservice.h"
#include "exchange/gbk.h"
#include "workbook.h"

#include "watchedconsole.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWaitMillis = 20000;

}  // namespace

class TestWholeExam : public QObject
{
    Q_OBJECT

private slots:
    void examFromPublishingToClearing();
};

void TestWholeExam::examFromPublishingToClearing()
{
    FtpService service;
    QVERIFY(service.start());
    QTemporaryDir consoleFolder, clientFolder;
    const QString exchange = service.folder();

    // The examiner's article: two lines, Chinese and ASCII.
    const QString article = QStringLiteral("春天来了，花开了。\r\nTyping 123.\r\n");
    QDir(consoleFolder.path()).mkpath(QStringLiteral("article"));
    const QString articlePath = consoleFolder.filePath(QStringLiteral("article/spring.txt"));
    {
        QFile file(articlePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(gbk::encode(article));
    }

    // The console, with its desktop calls recorded.
    FakeMessages consoleBoxes;
    consoleBoxes.answer = true;
    QStringList &consoleMessages = consoleBoxes.informed;
    const QStringList &consoleQuestions = consoleBoxes.asked;
    QList<QUrl> opened;
    ConsoleHooks hooks;
    hooks.chooseArticle = [&](QWidget *, const QString &) { return articlePath; };
    hooks.openUrl = [&](const QUrl &url) {
        opened << url;
        return true;
    };
    console::ConsoleFolders folders { consoleFolder.path(), consoleFolder.path(), exchange,
                                      consoleFolder.filePath(QStringLiteral("cj.mdb")),
                                      consoleFolder.path() };
    WatchedConsole consoleWindow(folders, hooks, &consoleBoxes);
    const auto collect = [&consoleWindow] {
        collectByHand(consoleWindow.controller(), [&consoleWindow] {
            childOf<QAbstractButton>(&consoleWindow, "fresh")->click();
        });
    };
    consoleWindow.show();

    // Settings: the article and one minute; then login opens.
    childOf<QAbstractButton>(&consoleWindow, "set")->click();
    childOf<QAbstractButton>(&consoleWindow, "CmdChFile")->click();
    childOf<QComboBox>(&consoleWindow, "CmbTestTime")->setEditText(QStringLiteral("1"));
    childOf<QAbstractButton>(&consoleWindow, "CmdSave")->click();
    childOf<QAbstractButton>(&consoleWindow, "BeginStop")->click();
    QVERIFY2(consoleMessages.isEmpty(), qPrintable(consoleMessages.join(u'\n')));
    QCOMPARE(filesIn(exchange),
             (QStringList { u"console-in-use.txt"_qs, u"pb.txt"_qs, u"se.dll"_qs, u"te.txt"_qs }));

    // The examinee logs in.
    auto clientMessages = std::make_shared<FakeMessages>();
    FrmLogin login(clientFolder.path(), clientMessages.get());
    login.show();
    childOf<QLineEdit>(&login, "TxtIP")->setText(service.address());
    childOf<QLineEdit>(&login, "TxtBanName")->setText(QStringLiteral("计算机系"));
    childOf<QLineEdit>(&login, "TxtXueHao")->setText(QStringLiteral("2026-07"));
    childOf<QLineEdit>(&login, "TxtXingMing")->setText(QStringLiteral("王 小明"));
    QSignalSpy loggedIn(&login, &FrmLogin::loggedIn);
    childOf<QAbstractButton>(&login, "CmdLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
    const Examinee examinee = loggedIn.first().first().value<Examinee>();
    QCOMPARE(int(examinee.examMinutes), 1);

    QList<int> activated;
    FrmMainServices services;
    services.inputMethods = std::make_unique<FakeInputMethods>(&activated);
    services.messages = clientMessages;
    services.runTimers = false;
    FrmMain typing(examinee, clientFolder.path(), std::move(services));
    typing.show();
    QTRY_VERIFY_WITH_TIMEOUT(typing.upload().state() == ResultUpload::State::Delivered,
                             kWaitMillis);

    // The zero record makes the examinee count as logged in.
    collect();
    QCOMPARE(childOf<QLabel>(&consoleWindow, "LblRenShu")->text(), u"1"_qs);

    // Enter starts; the first line is typed with two errors, then Enter and
    // a part of the second line; the minute runs out.
    QTest::keyClick(&typing, Qt::Key_Return);
    auto *box = childOf<QPlainTextEdit>(&typing, "TxtWrite");
    for (const QChar ch : QStringLiteral("春天来了，花开X。")) {
        QInputMethodEvent commit;
        commit.setCommitString(QString(ch));
        QApplication::sendEvent(box, &commit);
    }
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("Typinq 12"));
    for (int tick = 0; tick < 60; ++tick)
        typing.onClockTick();
    QVERIFY(!box->isEnabled());

    // 8 + 2 + 8 right, 2 wrong, in 60 seconds.
    QCOMPARE(typing.session().rightCount(), 18);
    QCOMPARE(typing.session().errorCount(), 2);
    QCOMPARE(typing.speed(), 18.0f);
    QCOMPARE(typing.accuracy(), 90.0f);

    // The examinee leaves once the final record is in.
    clientMessages->answer = true;
    QSignalSpy left(&typing, &FrmMain::examLeft);
    childOf<QAbstractButton>(&typing, "CmdExit")->click();
    QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);

    // The console finds exactly that examinee with the client's figures.
    collect();
    QVERIFY2(consoleMessages.isEmpty(), qPrintable(consoleMessages.join(u'\n')));
    QCOMPARE(childOf<QLabel>(&consoleWindow, "LblRenShu")->text(), u"1"_qs);
    const QAbstractItemModel *grid = childOf<QTableView>(&consoleWindow, "DataGrid1")->model();
    QCOMPARE(grid->rowCount(), 1);
    QStringList row;
    for (int column = 0; column < grid->columnCount(); ++column)
        row << grid->index(0, column).data().toString();
    QVERIFY2(row.contains(u"计算机系"_qs) && row.contains(u"2026-07"_qs)
                     && row.contains(u"王 小明"_qs),
             qPrintable(row.join(u'|')));
    QVERIFY2(row.contains(u"18.00"_qs) && row.contains(u"90.00"_qs) && row.contains(u"60"_qs),
             qPrintable(row.join(u'|')));

    // The export holds the same row, with the wrong characters of the answer
    // sheet the real client sent; the console's scoring agreed with the
    // client's, so no row is in doubt.
    childOf<QAbstractButton>(&consoleWindow, "CmdOutToExl")->click();
    QCOMPARE(opened.size(), 1);
    const QStringList cells = workbookRows(opened.first().toLocalFile());
    QCOMPARE(cells.size(), 3);
    QCOMPARE(
            cells.at(2),
            u"str:计算机系|str:2026-07|str:王 小明|int:18|int:90|int:60|int:2|str:不及格|int:50|str:已交卷|int:1"_qs);
    QVERIFY(consoleMessages.takeLast().contains(
            QDir::toNativeSeparators(opened.first().toLocalFile())));

    // Closing login withdraws the exam; clearing empties folder and table.
    childOf<QAbstractButton>(&consoleWindow, "BeginStop")->click();
    QCOMPARE(filesIn(exchange), QStringList { u"计算机系-2026-07-王 小明.zip"_qs });
    childOf<QAbstractButton>(&consoleWindow, "ClearLast")->click();
    QCOMPARE(consoleQuestions.size(), 1);
    QCOMPARE(filesIn(exchange), QStringList());
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(childOf<QLabel>(&consoleWindow, "LblRenShu")->text(), u"0"_qs);
    QVERIFY2(consoleMessages.isEmpty(), qPrintable(consoleMessages.join(u'\n')));
}

QTEST_MAIN(TestWholeExam)
#include "tst_wholeexam.moc"
