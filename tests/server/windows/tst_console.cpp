// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console window offscreen over temporary folders and a real results
// database; message boxes, the file dialog and the desktop are recorded.
#include "childwidget.h"
#include "collectbyhand.h"
#include "consoleroom.h"
#include "fakemessages.h"
#include "exchange/gbk.h"
#include "exchange/paths.h"
#include "testrecords.h"
#include "publish/exchangefolder.h"
#include "settings/consolepreferences.h"
#include "windows/frmanswersheet.h"
#include "windows/frmmain.h"
#include "windows/resultsview.h"
#include "windows/twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// Uploads under the client's name for the file: department-number-name.zip.
void upload(const QString &folder, const QString &department, const QString &examNumber,
            const QString &name, float speed)
{
    if (writeResultFile(folder, sampleRecord(department, examNumber, name, speed)).isEmpty())
        qFatal("cannot write a result file");
}

const QString kFolderMessage = u"Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为"_qs;

// The window with its internals in reach.
class ConsoleWindow : public console::FrmMain
{
public:
    using FrmMain::aboutBox;
    using FrmMain::controller;
    using FrmMain::FrmMain;
};

}  // namespace

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_room = std::make_unique<ConsoleRoom>();
        m_boxes = FakeMessages();
        m_boxes.answer = true;
        m_chosenFile.clear();
        m_opened.clear();
        m_openSucceeds = true;
    }

    void cleanup()
    {
        m_window.reset();
        m_room.reset();
    }

    // At 1280 wide the counts reach to the export button: the outbox's
    // count is read whole and its whole reason in the tooltip; at the
    // classic width the line is cut with "…" and read whole in the tooltip.
    void countsLineFitsOrTellsItWhole()
    {
        createWindow();
        const QString note = u"1 场考试尚未上传到学校存档（学校存档无法连接）"_qs;
        const QString detail = u"学校存档 pg/kestrix 无法连接。\n详情：Connection refused"_qs;
        const QString whole = u"· 答题中 0 · 已交卷 0 · "_qs + note;
        auto *counts = child<QLabel>("LblLiveCounts");
        m_window->resize(1280, 800);
        m_window->show();
        m_window->findChild<ResultsView *>()->showCounts(2, {}, false, note, detail);
        QCOMPARE(counts->text(), whole);
        QCOMPARE(counts->toolTip(), detail);
        QVERIFY(counts->geometry().right() < child<QWidget>("CmdOutToExl")->x());
        m_window->resize(m_window->minimumSize());
        QTRY_VERIFY(counts->text().endsWith(u'…'));
        QVERIFY2(whole.startsWith(counts->text().chopped(1)), qPrintable(counts->text()));
        QCOMPARE(counts->toolTip(), whole + u'\n' + detail);
    }

    void startUpShowsResultsViewAndExamTime_data()
    {
        QTest::addColumn<QByteArray>("stored");  // time.txt; absent when null
        QTest::addColumn<int>("minutes");
        QTest::newRow("first run") << QByteArray() << 20;
        QTest::newRow("half to even down") << QByteArray("12.5\r\n") << 12;
        QTest::newRow("half to even up") << QByteArray("13.5\r\n") << 14;
        QTest::newRow("whole") << QByteArray("30\r\n") << 30;
        QTest::newRow("no line end") << QByteArray("45") << 45;
        QTest::newRow("empty") << QByteArray("") << 20;
        QTest::newRow("not a number") << QByteArray("abc\r\n") << 20;
        QTest::newRow("out of range") << QByteArray("40000\r\n") << 20;
        QTest::newRow("zero") << QByteArray("0\r\n") << 20;
    }

    void startUpShowsResultsViewAndExamTime()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, minutes);
        if (!stored.isNull())
            writeFile(app(u"time.txt"_qs), stored);
        createWindow();
        QCOMPARE(m_window->windowTitle(), u"Kestrix服务器"_qs);
        QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), QString::number(minutes));
        QCOMPARE(m_window->controller().settings().examMinutes(), minutes);
        QVERIFY(shown("FrameCJ") && shown("FrameCJ1") && !shown("FrameSet"));
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QVERIFY(QFile::exists(work(u"cj.mdb"_qs)));
        QVERIFY(messages().isEmpty());
    }

    void classicGeometry_data()
    {
        // In twips, in the window, at the classic size.
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twipsRect");
        QTest::newRow("toolbar") << u"Toolbar1"_qs << QRect(0, 0, 10080, 870);
        QTest::newRow("grid frame") << u"FrameCJ"_qs << QRect(240, 800, 9615, 6000);
        QTest::newRow("counts frame") << u"FrameCJ1"_qs << QRect(240, 6840, 9615, 615);
        QTest::newRow("export") << u"CmdOutToExl"_qs << QRect(240 + 7080, 6840 + 220, 2295, 300);
        QTest::newRow("count") << u"LblRenShu"_qs << QRect(240 + 1560, 6840 + 240, 855, 255);
        QTest::newRow("settings") << u"FrameSet"_qs << QRect(120, 960, 9855, 6495);
        QTest::newRow("text box") << u"TxtType"_qs << QRect(120 + 240, 960 + 960 + 600, 9375, 3855);
    }

    void classicGeometry()
    {
        QFETCH(QString, control);
        QFETCH(QRect, twipsRect);
        createWindow();
        QCOMPARE(m_window->size(), QSize(672, 503));
        const auto *widget = child<QWidget>(control.toLatin1().constData());
        const QRect expected =
                twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
        QCOMPARE(QRect(widget->mapTo(m_window.get(), QPoint(0, 0)), widget->size()), expected);
        // The grid fills its frame but for a narrow margin.
        const auto *grid = child<QWidget>("DataGrid1");
        QCOMPARE(QRect(grid->mapTo(m_window.get(), QPoint(0, 0)), grid->size()),
                 QRect(16 + 2, 53 + 8, 641 - 8, 400 - 12));
    }

    void commandsAndTheirTexts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("clear") << u"ClearLast"_qs << u"清空上次"_qs
                               << u"清空上一场考试的记录，包括考试成绩，请先做好备份！"_qs;
        QTest::newRow("settings") << u"set"_qs << u"考试设置"_qs << u"设置考试时间、内容等"_qs;
        QTest::newRow("login") << u"BeginStop"_qs << u"允许登录"_qs
                               << u"允许考生登录服务器以开始考试"_qs;
        QTest::newRow("collect") << u"fresh"_qs << u"获取成绩"_qs
                                 << u"获取考试成绩或者获取登陆信息"_qs;
        QTest::newRow("help") << u"help"_qs << u"帮助"_qs << u"软件安装、使用说明"_qs;
        QTest::newRow("export")
                << u"CmdOutToExl"_qs << u"成绩导出到Excel表格"_qs
                << u"把成绩表导出为Excel工作簿（.xlsx），保存在文档中的“成绩导出”文件夹并打开"_qs;
    }

    void commandsAndTheirTexts()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        createWindow();
        const auto *button = child<QAbstractButton>(control.toLatin1().constData());
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), toolTip);
        QVERIFY(!button->icon().isNull() || control == u"CmdOutToExl");
    }

    void readinessMessagesInOrder_data()
    {
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<bool>("hasTime");
        QTest::addColumn<bool>("hasFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << false << false << false << u"尚未设置考试内容"_qs;
        QTest::newRow("text only") << true << false << false << u"尚未设置考试时间"_qs;
        QTest::newRow("no text, rest there") << false << true << true << u"尚未设置考试内容"_qs;
        QTest::newRow("no folder") << true << true << false << kFolderMessage;
    }

    void readinessMessagesInOrder()
    {
        QFETCH(bool, hasText);
        QFETCH(bool, hasTime);
        QFETCH(bool, hasFolder);
        QFETCH(QString, message);
        if (hasText)
            writeFile(app(u"test.txt"_qs), "ab\r\n");
        if (hasTime)
            writeFile(app(u"time.txt"_qs), "20\r\n");
        if (!hasFolder)
            m_room->exchangeFolder = work(u"typedata"_qs);
        createWindow();
        click("BeginStop");
        if (message == kFolderMessage)
            message = exchangeFolderMissingMessage(m_room->exchangeFolder);
        QCOMPARE(messages(), QStringList { message });
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(QDir(work(u"exchange"_qs)).isEmpty());
    }

    void gateCaptionFollowsLogin()
    {
        writeFile(app(u"test.txt"_qs), gbk::encode(u"春眠不觉晓\r\nab\r\n"));
        writeFile(app(u"time.txt"_qs), "30\r\n");
        createWindow();
        click("BeginStop");
        QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QCOMPARE(child<QToolButton>("BeginStop")->toolTip(),
                 u"禁止考生登录服务器，但不影响已开始考试的考生"_qs);
        QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());

        // se.dll cannot be deleted (a folder with a file holds its name): login stays open.
        QVERIFY(QFile::remove(exchange(u"se.dll"_qs)));
        QVERIFY(QDir(m_room->exchangeFolder).mkpath(u"se.dll/x"_qs));
        click("BeginStop");
        QVERIFY(onlyMessage().contains(u"se.dll"_qs));
        QCOMPARE(gateCaption(), u"禁止登录"_qs);

        QVERIFY(QDir(exchange(u"se.dll"_qs)).removeRecursively());
        m_boxes.informed.clear();
        click("BeginStop");
        QVERIFY(messages().isEmpty());
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(child<QToolButton>("ClearLast")->isEnabled());

        // A console started while se.dll is published shows login open.
        click("BeginStop");
        m_boxes.answer = false;
        createWindow();
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());
    }

    void failedPublishLeavesGateClosed()
    {
        writeFile(app(u"test.txt"_qs), "ab\r\n");
        writeFile(app(u"time.txt"_qs), "20\r\n");
        // se.dll cannot be put in place: a folder with a file holds its name.
        QVERIFY(QDir(m_room->exchangeFolder).mkpath(u"se.dll/x"_qs));
        createWindow();
        click("BeginStop");
        QVERIFY(onlyMessage().contains(u"se.dll"_qs));
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(child<QToolButton>("ClearLast")->isEnabled());
    }

    void startUpOffersToWithdrawPublishedExam_data()
    {
        QTest::addColumn<bool>("withdraw");
        QTest::newRow("withdrawn") << true;
        QTest::newRow("kept") << false;
    }

    void startUpOffersToWithdrawPublishedExam()
    {
        QFETCH(bool, withdraw);
        writeFile(app(u"test.txt"_qs),
                  gbk::encode(u"春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n"));
        writeFile(app(u"time.txt"_qs), "20\r\n");
        QVERIFY(LoginGate(m_room->appFolder(), m_room->exchangeFolder).open(30).isEmpty());
        m_boxes.answer = withdraw;
        createWindow();
        QTRY_COMPARE(questions().size(), 1);
        QVERIFY2(questions()[0].contains(u"“春眠不觉晓，处处闻啼鸟。 夜来风雨声，花……”"_qs)
                         && questions()[0].contains(u"30分钟"_qs),
                 qPrintable(questions()[0]));
        QCOMPARE(gateCaption(), withdraw ? u"允许登录"_qs : u"禁止登录"_qs);
        QCOMPARE(QFile::exists(exchange(u"se.dll"_qs)), !withdraw);
    }

    void anotherConsoleIsNamedBeforeActing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("goAhead");
        QTest::newRow("允许登录, no") << u"BeginStop"_qs << false;
        QTest::newRow("允许登录, yes") << u"BeginStop"_qs << true;
        QTest::newRow("清空上次, no") << u"ClearLast"_qs << false;
    }

    void anotherConsoleIsNamedBeforeActing()
    {
        QFETCH(QString, button);
        QFETCH(bool, goAhead);
        writeFile(app(u"test.txt"_qs), "ab\r\n");
        writeFile(app(u"time.txt"_qs), "20\r\n");
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        ConsoleMarker(m_room->exchangeFolder, { u"教师机2"_qs, 4242 })
                .leave(QDateTime::currentDateTimeUtc());
        createWindow();
        m_boxes.answer = goAhead;
        click(button.toLatin1().constData());
        QVERIFY(questions().value(0).contains(u"教师机2"_qs));
        QCOMPARE(QFile::exists(exchange(u"se.dll"_qs)), button == u"BeginStop" && goAhead);
        // Going ahead with 允许登录 also answers yes to clearing the earlier result.
        QCOMPARE(QFile::exists(exchange(u"a-1-x.zip"_qs)), !goAhead);
    }

    void openingOverEarlierResultsAsks_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("clear");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("two, cleared") << 2 << true;
        QTest::newRow("two, kept") << 2 << false;
    }

    void openingOverEarlierResultsAsks()
    {
        QFETCH(int, files);
        QFETCH(bool, clear);
        writeFile(app(u"test.txt"_qs), "ab\r\n");
        writeFile(app(u"time.txt"_qs), "20\r\n");
        for (int i = 0; i < files; ++i)
            upload(m_room->exchangeFolder, u"a"_qs, QString::number(i), u"x"_qs, 20);
        createWindow();
        m_boxes.answer = clear;
        click("BeginStop");
        QCOMPARE(questions(),
                 files ? QStringList { u"交换文件夹中还有2份上次考试的成绩。先清空吗？"_qs }
                       : QStringList());
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QCOMPARE(QDir(m_room->exchangeFolder).entryList({ u"*.zip"_qs }).size(), clear ? 0 : files);
    }

    void clearingAsksNamingWhatGoes_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("declined") << false;
    }

    void clearingAsksNamingWhatGoes()
    {
        QFETCH(bool, confirmed);
        createWindow();
        click("ClearLast");
        QVERIFY(questions().isEmpty());  // nothing to delete, nothing to ask
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        upload(m_room->exchangeFolder, u"b"_qs, u"2"_qs, u"y"_qs, 30);
        writeFile(exchange(u"te.txt"_qs), "t");
        collect();
        m_boxes.answer = confirmed;
        click("ClearLast");
        QCOMPARE(questions().size(), 1);
        QVERIFY2(questions()[0].contains(u"2条成绩"_qs) && questions()[0].contains(u"3个文件"_qs),
                 qPrintable(questions()[0]));
        QCOMPARE(text("LblRenShu"), confirmed ? u"0"_qs : u"2"_qs);
        QCOMPARE(gridRowCount(), confirmed ? 0 : 2);
        QCOMPARE(QDir(m_room->exchangeFolder).entryList(QDir::Files).size(), confirmed ? 0 : 3);
        QVERIFY(messages().isEmpty());
    }

    void timeBoxKeepsWhatIsTyped()
    {
        createWindow();
        click("set");
        auto *box = child<QComboBox>("CmbTestTime");
        box->clearEditText();
        QTest::keyClicks(box, u"3"_qs);
        QCOMPARE(box->currentText(), u"3"_qs);
        click("CmdSave");
        QCOMPARE(m_window->controller().settings().examMinutes(), 3);
    }

    void settingsPanelCountsAndCancels()
    {
        createWindow();
        click("set");
        QVERIFY(shown("FrameSet") && !shown("FrameCJ") && !shown("FrameCJ1"));
        QVERIFY(child<QWidget>("CmdChFile")->y() >= child<QWidget>("Frame2")->contentsRect().top()
                && child<QWidget>("CmdChFile")->geometry().bottom()
                        < child<QWidget>("TxtType")->y());
        QCOMPARE(text("LblWordCount"), QString());

        m_chosenFile = work(u"gone.txt"_qs);
        click("CmdChFile");
        QVERIFY(onlyMessage().contains(QDir::toNativeSeparators(m_chosenFile)));
        m_boxes.informed.clear();

        m_chosenFile = work(u"article.txt"_qs);
        const QByteArray article = gbk::encode(u"ab\r\n中文\r\n");
        writeFile(m_chosenFile, article);
        click("CmdChFile");
        QCOMPARE(m_dialogFolder, app(u"article"_qs));
        QCOMPARE(text("LblWordCount"), u"8"_qs);
        QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), u"ab\n中文\n"_qs);
        click("CmdSave");
        QVERIFY(messages().isEmpty());
        QVERIFY(!shown("FrameSet") && shown("FrameCJ1"));
        QCOMPARE(readFile(app(u"test.txt"_qs)), article);

        click("set");
        QCOMPARE(text("LblWordCount"), u"8"_qs);
        QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), u"ab\n中文\n"_qs);
        // A cancelled dialog keeps the text; cancelling the panel restores the time.
        m_chosenFile.clear();
        click("CmdChFile");
        QCOMPARE(text("LblWordCount"), u"8"_qs);
        child<QComboBox>("CmbTestTime")->setEditText(u"45"_qs);
        click("CmdCancel");
        QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), u"20"_qs);
        QVERIFY(!shown("FrameSet") && shown("FrameCJ"));
        QCOMPARE(m_window->controller().settings().examMinutes(), 20);
        // Collecting leaves the panel too, and lets its text go.
        click("set");
        collect();
        QVERIFY(!shown("FrameSet") && shown("FrameCJ"));
        QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), QString());
    }

    void refusedTimeKeepsThePanel_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("fraction") << u"12.5"_qs << false;
        QTest::newRow("words") << u"二十"_qs << true;
        QTest::newRow("too long") << u"547"_qs << true;
    }

    void refusedTimeKeepsThePanel()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        createWindow();
        click("set");
        child<QComboBox>("CmbTestTime")->setEditText(typed);
        click("CmdSave");
        QCOMPARE(messages().size(), refused ? 1 : 0);
        QCOMPARE(messages().join(QString()).contains(u"考试时间"_qs), refused);
        QCOMPARE(shown("FrameSet"), refused);
    }

    void choosingExchangeFolder_data()
    {
        QTest::addColumn<bool>("loginOpen");
        QTest::addColumn<QString>("chosen");  // relative to the test folder; empty: cancelled
        QTest::addColumn<QString>("message");  // its start; empty: none
        QTest::newRow("chosen") << false << u"实验室/交换"_qs << u"交换文件夹已设为"_qs;
        QTest::newRow("cancelled") << false << QString() << QString();
        QTest::newRow("during an exam") << true << u"实验室/交换"_qs << u"考试正在进行"_qs;
    }

    void choosingExchangeFolder()
    {
        QFETCH(bool, loginOpen);
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        writeFile(app(u"test.txt"_qs), gbk::encode(u"ab\r\n"));
        writeFile(app(u"time.txt"_qs), "20\r\n");
        m_chosenFolder = chosen.isEmpty() ? QString() : work(chosen);
        createWindow();
        if (loginOpen)
            click("BeginStop");
        click("set");
        QCOMPARE(child<QLabel>("LblExchange")->toolTip(),
                 QDir::toNativeSeparators(m_room->exchangeFolder));
        click("CmdExchange");
        QCOMPARE(messages().size(), message.isEmpty() ? 0 : 1);
        QVERIFY(message.isEmpty() || messages().first().startsWith(message));

        // The choice is kept with the preferences and used at the next start.
        const bool kept = !loginOpen && !chosen.isEmpty();
        QCOMPARE(ConsolePreferences(m_room->appFolder()).exchangeFolder().isEmpty(), !kept);
        QCOMPARE(child<QLabel>("LblExchange")
                         ->toolTip()
                         .contains(QDir::toNativeSeparators(
                                 work(chosen.isEmpty() ? u"-"_qs : chosen))),
                 kept);
        // The data folder opens with the desktop's file manager.
        click("CmdOpenData");
        QCOMPARE(m_opened.last(), QUrl::fromLocalFile(m_room->appFolder()));
        if (kept) {
            QCOMPARE(ConsolePreferences(m_room->appFolder()).exchangeFolder(), work(chosen));
            QCOMPARE(paths::exchangeFolder(
                             ConsoleSettings(m_room->appFolder()).storedExchangeFolder()),
                     work(chosen));
        }
    }

    void collectingFillsGrid()
    {
        createWindow();
        collect();
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QCOMPARE(gridRowCount(), 0);
        upload(m_room->exchangeFolder, u"一班"_qs, u"01"_qs, u"张三"_qs, 56.1f);
        upload(m_room->exchangeFolder, u"二班"_qs, u"02"_qs, u"李四"_qs, 80.5f);
        click("set");
        collect();
        QVERIFY(!shown("FrameSet") && shown("FrameCJ"));
        QVERIFY(messages().isEmpty());
        QCOMPARE(text("LblRenShu"), u"2"_qs);
        QCOMPARE(text("LblLiveCounts"), u"· 答题中 0 · 已交卷 2"_qs);
        const QAbstractItemModel *model = child<QTableView>("DataGrid1")->model();
        QCOMPARE(model->index(0, 2).data().toString(), u"李四"_qs);
        // A double click or 查看答卷 opens the row's answer sheet (these
        // records carry none); its letters grow with it.
        auto *grid = child<QTableView>("DataGrid1");
        emit grid->doubleClicked(model->index(0, 0));
        grid->setCurrentIndex(model->index(1, 0));
        grid->findChild<QAction *>(u"MnuAnswerSheet"_qs)->trigger();
        const auto sheets = m_window->findChildren<FrmAnswerSheet *>();
        QCOMPARE(sheets.size(), 2);
        QVERIFY(sheets[0]->windowTitle().endsWith(u"李四"_qs));
        QVERIFY(sheets[1]->windowTitle().endsWith(u"张三"_qs));
        QVERIFY(childOf<QLabel>(sheets[0], "LblNotice")->text().startsWith(u"这份成绩没有答卷"_qs));
        const auto *sheetText = childOf<QTextEdit>(sheets[0], "TxtAnswerSheet");
        const int small = sheetText->font().pixelSize();
        sheets[0]->resize(1800, 1000);
        QVERIFY(sheetText->font().pixelSize() > small);
        // Esc closes a sheet.
        QPointer<FrmAnswerSheet> closing = sheets[1];
        closing->show();
        closing->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(closing));
        QTest::keyClick(closing->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(!closing);
        // The table outlives the window.
        createWindow();
        QCOMPARE(gridRowCount(), 2);
        QCOMPARE(text("LblRenShu"), u"2"_qs);
    }

    void unreadableDatabaseIsReported()
    {
        writeFile(work(u"cj.mdb"_qs), QByteArray(4096, 'x'));
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        createWindow();
        QVERIFY(messages().value(0).contains(u"cj.mdb"_qs));
        m_boxes.informed.clear();
        collect();
        click("CmdOutToExl");
        QCOMPARE(messages().size(), 2);
        QVERIFY(m_opened.isEmpty());
    }

    void clearingProblemsAreEachTold()
    {
        // Without the folder the collection keeps the table, the clearing empties it.
        m_room->exchangeFolder = work(u"gone"_qs);
        createWindow();
        QDir().mkpath(m_room->exchangeFolder);
        upload(m_room->exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        collect();
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        QVERIFY(QDir(m_room->exchangeFolder).removeRecursively());
        const QString folderMessage = exchangeFolderMissingMessage(m_room->exchangeFolder);
        collect();
        QCOMPARE(messages(), QStringList { folderMessage });
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        m_boxes.informed.clear();
        click("ClearLast");
        QCOMPARE(messages(), QStringList { folderMessage });
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QCOMPARE(gridRowCount(), 0);
    }

    void exportOpensTheWorkbook()
    {
        createWindow();
        upload(m_room->exchangeFolder, u"一班"_qs, u"007"_qs, u"张三"_qs, 56.1f);
        collect();
        click("CmdOutToExl");
        click("CmdOutToExl");
        QCOMPARE(m_opened.size(), 2);
        QVERIFY(m_opened[0] != m_opened[1]);
        QCOMPARE(QFileInfo(m_opened[0].toLocalFile()).absolutePath(), work(u"文档/成绩导出"_qs));
        QCOMPARE(messages().size(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(messages()[i].contains(QDir::toNativeSeparators(m_opened[i].toLocalFile())));

        // When no program opens it, the examiner learns where the workbook is.
        m_boxes.informed.clear();
        m_openSucceeds = false;
        click("CmdOutToExl");
        QVERIFY(onlyMessage().contains(QDir::toNativeSeparators(m_opened.last().toLocalFile())));
        QVERIFY(onlyMessage().contains(u"没有找到"_qs));
    }

    void aboutOnceAndManualFound()
    {
        createWindow();
        child<QAction>("about")->trigger();
        child<QAction>("about")->trigger();
        int boxes = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            boxes += qobject_cast<FrmAbout *>(widget) != nullptr && widget->isVisible();
        QCOMPARE(boxes, 1);
        QCOMPARE(m_window->aboutBox()->findChild<QLabel *>(u"LblVersion"_qs)->text(), u"1.3"_qs);
        // The product picture comes from the program's resources.
        const QPixmap picture = m_window->aboutBox()->findChild<QLabel *>(u"Image1"_qs)->pixmap();
        QCOMPARE(picture.size(), QSize(twips::px(1530), twips::px(1530)));
        // No LICENSE.txt beside this program: the licence's page on the web.
        const QString licence = m_window->aboutBox()->findChild<QLabel *>(u"LblLicence"_qs)->text();
        QVERIFY(licence.contains(u"GPL-3.0-or-later"_qs)
                && licence.contains(FrmAbout::licenceWebPage().toString()));

        // Without a program for the page the console says where the manual is.
        m_openSucceeds = false;
        child<QAction>("manual")->trigger();
        QCOMPARE(m_opened, QList<QUrl> { QUrl::fromLocalFile(app(u"安装使用说明.html"_qs)) });
        QVERIFY(onlyMessage().endsWith(QDir::toNativeSeparators(app(u"安装使用说明.html"_qs))));

        // The log's folder, made before any line is written.
        m_boxes.informed.clear();
        child<QAction>("logFolder")->trigger();
        QCOMPARE(onlyMessage(),
                 u"没有找到能打开文件夹的程序。日志在：\n"_qs
                         + QDir::toNativeSeparators(app(u"logs"_qs)));
        QVERIFY(QFileInfo(app(u"logs"_qs)).isDir());
        m_openSucceeds = true;
        child<QAction>("logFolder")->trigger();
        QCOMPARE(m_opened.mid(1), QList<QUrl>(2, QUrl::fromLocalFile(app(u"logs"_qs))));
        QCOMPARE(messages().size(), 1);
    }

private:
    void createWindow()
    {
        m_window.reset();
        ConsoleHooks hooks;
        hooks.chooseArticle = [this](QWidget *, const QString &folder) {
            m_dialogFolder = folder;
            return m_chosenFile;
        };
        hooks.chooseFolder = [this](QWidget *, const QString &) { return m_chosenFolder; };
        hooks.openUrl = [this](const QUrl &url) {
            m_opened << url;
            return m_openSucceeds;
        };
        m_window = std::make_unique<ConsoleWindow>(m_room->folders(), hooks, &m_boxes);
        m_window->show();
    }

    template <typename T>
    T *child(const char *name)
    {
        return childOf<T>(m_window.get(), name);
    }
    void click(const char *key) { child<QAbstractButton>(key)->click(); }
    // 获取成绩, until what it found is told.
    void collect()
    {
        collectByHand(m_window->controller(), [this] { click("fresh"); });
    }
    QString text(const char *label) { return child<QLabel>(label)->text(); }
    const QStringList &messages() const { return m_boxes.informed; }
    const QStringList &questions() const { return m_boxes.asked; }
    QString onlyMessage() const { return messages().size() == 1 ? messages()[0] : QString(); }
    QString gateCaption() { return child<QToolButton>("BeginStop")->text(); }
    bool shown(const char *frame) { return child<QWidget>(frame)->isVisibleTo(m_window.get()); }
    int gridRowCount() { return child<QTableView>("DataGrid1")->model()->rowCount(); }
    QString app(const QString &name) const { return m_room->app(name); }
    QString work(const QString &name) const { return m_room->work(name); }
    QString exchange(const QString &name) const { return m_room->exchange(name); }

    std::unique_ptr<ConsoleRoom> m_room;
    FakeMessages m_boxes;
    std::unique_ptr<ConsoleWindow> m_window;
    QString m_chosenFile, m_dialogFolder, m_chosenFolder;
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
