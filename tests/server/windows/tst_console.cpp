// The console window offscreen over temporary folders and a real results
// database; message boxes, the file dialog and the desktop are recorded.
#include "examsettings.h"
#include "fakemessages.h"
#include "publish/exchangefolder.h"
#include "windows/frmmain.h"
#include "windows/twips.h"
#include "gbk.h"
#include "publish/logingate.h"
#include "paths.h"
#include "resultrecord.h"
#include "transcode.h"
#include "workbook.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

// A scrambled result file as a client uploads it.
void writeScrambled(const QString &folder, const QString &name, const QByteArray &plain)
{
    writeBytes(QDir(folder).filePath(name), transcodeBytes(plain, kExchangeKey));
}

QByteArray resultLines(const QString &department, const QString &examNumber, const QString &name,
                       float speed, float accuracy = 98.5f, qint16 timePass = 600)
{
    return ResultRecord {
        speed, accuracy, timePass, 900, 880, department, examNumber, name, {}
    }.toRecordLines();
}

// Uploads under the client's name for the file: department-number-name.zip.
void upload(const QString &folder, const QString &department, const QString &examNumber,
            const QString &name, float speed, float accuracy = 98.5f, qint16 timePass = 600)
{
    writeScrambled(folder, department + u'-' + examNumber + u'-' + name + u".zip"_qs,
                   resultLines(department, examNumber, name, speed, accuracy, timePass));
}

const QString kFolderMessage = u"Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为"_qs;

}  // namespace

using console::FrmMain;

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_root->path()).mkdir(u"app"_qs)
                && QDir(m_root->path()).mkdir(u"exchange"_qs));
        m_exchangeFolder = m_root->filePath(u"exchange"_qs);
        m_boxes = FakeMessages();
        m_boxes.answer = true;
        m_chosenFile.clear();
        m_opened.clear();
        m_openSucceeds = true;
    }

    void cleanup()
    {
        m_window.reset();
        m_root.reset();
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
            writeBytes(app(u"time.txt"_qs), stored);
        createWindow();
        QCOMPARE(m_window->windowTitle(), u"Kestrix服务器"_qs);
        QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), QString::number(minutes));
        QCOMPARE(m_window->examMinutes(), minutes);
        QVERIFY(shown("FrameCJ") && shown("FrameCJ1") && !shown("FrameSet"));
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QVERIFY(QFile::exists(work(u"cj.mdb"_qs)));
        QVERIFY(m_boxes.informed.isEmpty());
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
            writeBytes(app(u"test.txt"_qs), "ab\r\n");
        if (hasTime)
            writeBytes(app(u"time.txt"_qs), "20\r\n");
        if (!hasFolder)
            m_exchangeFolder = work(u"typedata"_qs);
        createWindow();
        click("BeginStop");
        if (message == kFolderMessage)
            message += QDir::toNativeSeparators(m_exchangeFolder);
        QCOMPARE(m_boxes.informed, QStringList { message });
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(QDir(work(u"exchange"_qs)).isEmpty());
    }

    void openingPublishesAndClosingWithdraws()
    {
        const QByteArray examText = gbk::encode(u"春眠不觉晓\r\nab\r\n");
        writeBytes(app(u"test.txt"_qs), examText);
        writeBytes(app(u"time.txt"_qs), "30\r\n");
        createWindow();
        // The file changes behind the console's back; the time in force is 30.
        writeBytes(app(u"time.txt"_qs), "45\r\n");
        click("BeginStop");
        QVERIFY2(m_boxes.informed.isEmpty(), qPrintable(m_boxes.informed.join(u'\n')));
        QCOMPARE(readBytes(exchange(u"te.txt"_qs)), examText);
        QCOMPARE(publishedMinutes(), 30);
        QCOMPARE(QDir(appFolder()).entryList(QDir::Files),
                 (QStringList { u"test.txt"_qs, u"time.txt"_qs }));
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());

        // se.dll cannot be deleted (a folder with a file holds its name): login stays open.
        QVERIFY(QFile::remove(exchange(u"se.dll"_qs)));
        QVERIFY(QDir(m_exchangeFolder).mkpath(u"se.dll/x"_qs));
        click("BeginStop");
        QVERIFY(onlyMessage().contains(u"se.dll"_qs));
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QVERIFY(!QFile::exists(exchange(u"te.txt"_qs)));

        // Closing again with both files already gone.
        QVERIFY(QDir(exchange(u"se.dll"_qs)).removeRecursively());
        m_boxes.informed.clear();
        click("BeginStop");
        QVERIFY(m_boxes.informed.isEmpty());
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(child<QToolButton>("ClearLast")->isEnabled());
    }

    void reopeningPublishesCurrentSettings()
    {
        writeBytes(app(u"test.txt"_qs), "old\r\n");
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        createWindow();
        click("BeginStop");
        // A console started while se.dll is published shows login open.
        createWindow();
        QCOMPARE(gateCaption(), u"禁止登录"_qs);
        QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());
        click("BeginStop");
        QCOMPARE(QDir(m_exchangeFolder).entryList(QDir::Files), QStringList());

        m_chosenFile = work(u"new.txt"_qs);
        writeBytes(m_chosenFile, "new\r\n");
        click("set");
        click("CmdChFile");
        child<QComboBox>("CmbTestTime")->setEditText(u"15"_qs);
        click("CmdSave");
        click("BeginStop");
        QCOMPARE(readBytes(exchange(u"te.txt"_qs)), QByteArray("new\r\n"));
        QCOMPARE(publishedMinutes(), 15);
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
        writeBytes(app(u"test.txt"_qs),
                   gbk::encode(u"春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n"));
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        QVERIFY(LoginGate(appFolder(), m_exchangeFolder).open(30).isEmpty());
        m_boxes.answer = withdraw;
        createWindow();
        QTRY_COMPARE(m_boxes.asked.size(), 1);
        QVERIFY2(m_boxes.asked[0].contains(u"“春眠不觉晓，处处闻啼鸟。 夜来风雨声，花……”"_qs)
                         && m_boxes.asked[0].contains(u"30分钟"_qs),
                 qPrintable(m_boxes.asked[0]));
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
        writeBytes(app(u"test.txt"_qs), "ab\r\n");
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        ConsoleMarker(m_exchangeFolder, { u"教师机2"_qs, 4242 })
                .leave(QDateTime::currentDateTimeUtc());
        createWindow();
        m_boxes.answer = goAhead;
        click(button.toLatin1().constData());
        QVERIFY(m_boxes.asked.value(0).contains(u"教师机2"_qs));
        QCOMPARE(QFile::exists(exchange(u"se.dll"_qs)), button == u"BeginStop" && goAhead);
        QCOMPARE(QFile::exists(exchange(u"a-1-x.zip"_qs)), button == u"BeginStop" || !goAhead);
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
        QVERIFY(m_boxes.asked.isEmpty());  // nothing to delete, nothing to ask
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        upload(m_exchangeFolder, u"b"_qs, u"2"_qs, u"y"_qs, 30);
        writeBytes(exchange(u"te.txt"_qs), "t");
        click("fresh");
        m_boxes.answer = confirmed;
        click("ClearLast");
        QCOMPARE(m_boxes.asked.size(), 1);
        QVERIFY2(m_boxes.asked[0].contains(u"2条成绩"_qs)
                         && m_boxes.asked[0].contains(u"3个文件"_qs),
                 qPrintable(m_boxes.asked[0]));
        QCOMPARE(text("LblRenShu"), confirmed ? u"0"_qs : u"2"_qs);
        QCOMPARE(QDir(m_exchangeFolder).entryList(QDir::Files).size(), confirmed ? 0 : 3);
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
        QCOMPARE(m_window->examMinutes(), 3);
    }

    void failedPublishLeavesGateClosed()
    {
        writeBytes(app(u"test.txt"_qs), "ab\r\n");
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        // se.dll cannot be put in place: a folder holds its name.
        QVERIFY(QDir(m_exchangeFolder).mkdir(u"se.dll"_qs));
        createWindow();
        click("BeginStop");
        QVERIFY(onlyMessage().contains(u"se.dll"_qs));
        QCOMPARE(gateCaption(), u"允许登录"_qs);
        QVERIFY(child<QToolButton>("ClearLast")->isEnabled());
        QVERIFY(!QFile::exists(exchange(u"te.txt"_qs)));
        QCOMPARE(QDir(appFolder()).entryList(QDir::Files),
                 (QStringList { u"test.txt"_qs, u"time.txt"_qs }));
    }

    void settingsPanelCountsAndCancels()
    {
        createWindow();
        click("set");
        QVERIFY(shown("FrameSet") && !shown("FrameCJ") && !shown("FrameCJ1"));
        QCOMPARE(text("LblWordCount"), QString());

        m_chosenFile = work(u"gone.txt"_qs);
        click("CmdChFile");
        QVERIFY(onlyMessage().contains(QDir::toNativeSeparators(m_chosenFile)));
        m_boxes.informed.clear();

        m_chosenFile = work(u"article.txt"_qs);
        const QByteArray article = gbk::encode(u"ab\r\n中文\r\n");
        writeBytes(m_chosenFile, article);
        click("CmdChFile");
        QCOMPARE(m_dialogFolder, app(u"article"_qs));
        QCOMPARE(text("LblWordCount"), u"8"_qs);
        QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), u"ab\n中文\n"_qs);
        click("CmdSave");
        QVERIFY(m_boxes.informed.isEmpty());
        QVERIFY(!shown("FrameSet") && shown("FrameCJ1"));
        QCOMPARE(readBytes(app(u"test.txt"_qs)), article);

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
        QCOMPARE(m_window->examMinutes(), 20);
    }

    void savingExamTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("fraction") << u"12.5"_qs << false << 12 << QByteArray("12.5\r\n");
        QTest::newRow("blanks and zeros")
                << u" 045.50 "_qs << false << 46 << QByteArray("45.5\r\n");
        QTest::newRow("longest exam") << u"546"_qs << false << 546 << QByteArray("546\r\n");
        for (const QString &typed : { QString(), u"二十"_qs, u"0.4"_qs, u"547"_qs, u"-5"_qs })
            QTest::addRow("refused '%s'", qPrintable(typed))
                    << typed << true << 30 << QByteArray("30\r\n");
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
        writeBytes(app(u"test.txt"_qs), gbk::encode(u"ab\r\n"));
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        m_chosenFolder = chosen.isEmpty() ? QString() : work(chosen);
        createWindow();
        if (loginOpen)
            click("BeginStop");
        click("set");
        QCOMPARE(child<QLabel>("LblExchange")->toolTip(),
                 QDir::toNativeSeparators(m_exchangeFolder));
        click("CmdExchange");
        QCOMPARE(m_boxes.informed.size(), message.isEmpty() ? 0 : 1);
        QVERIFY(message.isEmpty() || m_boxes.informed.first().startsWith(message));

        // The choice is kept beside time.txt, in GBK, and used at the next start.
        const bool kept = !loginOpen && !chosen.isEmpty();
        QCOMPARE(QFile::exists(app(u"exchange.txt"_qs)), kept);
        if (kept) {
            QCOMPARE(readBytes(app(u"exchange.txt"_qs)),
                     gbk::encode(QString(QDir::toNativeSeparators(work(chosen)) + u"\r\n")));
            QCOMPARE(paths::exchangeFolder(ConsoleSettings(appFolder()).storedExchangeFolder()),
                     work(chosen));
        }
    }

    void savingExamTime()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(int, minutes);
        QFETCH(QByteArray, stored);
        writeBytes(app(u"time.txt"_qs), "30\r\n");
        m_chosenFile = work(u"a.txt"_qs);
        writeBytes(m_chosenFile, "ab\r\n");
        createWindow();
        click("set");
        click("CmdChFile");
        child<QComboBox>("CmbTestTime")->setEditText(typed);
        click("CmdSave");
        QCOMPARE(m_boxes.informed.size(), refused ? 1 : 0);
        QCOMPARE(m_boxes.informed.join(QString()).contains(u"考试时间"_qs), refused);
        QCOMPARE(shown("FrameSet"), refused);
        QCOMPARE(m_window->examMinutes(), minutes);
        QCOMPARE(readBytes(app(u"time.txt"_qs)), stored);
        // The article is stored only with a time that is.
        QCOMPARE(QFile::exists(app(u"test.txt"_qs)), !refused);
    }

    void collectingFillsGridBySpeed()
    {
        createWindow();
        click("fresh");
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QCOMPARE(gridRows(), QStringList());

        // Read in name order: c.zip, 一班-01-张三, 一班-1-张三 (the same examinee
        // again under another number), 二-班-0-2-李-四.
        upload(m_exchangeFolder, u"一班"_qs, u"01"_qs, u"张三"_qs, 56.1f, 98.25f, 300);
        upload(m_exchangeFolder, u"一班"_qs, u"1"_qs, u"张三"_qs, 9);
        upload(m_exchangeFolder, u"二-班"_qs, u"0-2"_qs, u"李-四"_qs, 80.5f);
        // Text lines lose their first and last characters with or without quotes;
        // line 4 is kept as written.
        writeScrambled(m_exchangeFolder, u"c.zip"_qs,
                       gbk::encode(u"40\r\n98\r\n12\r\n "
                                   u"99.50\r\n7\r\n1\r\n1\r\n[丙班]\r\nx03y\r\n-王五-\r\n"));
        click("set");
        click("fresh");
        QVERIFY(!shown("FrameSet") && shown("FrameCJ"));
        QVERIFY(m_boxes.informed.isEmpty());
        QCOMPARE(text("LblRenShu"), u"4"_qs);
        const QStringList expected { u"二-班|0-2|李-四|80.5|98.5|600|4"_qs,
                                     u"一班|01|张三|56.1|98.25|300|2"_qs,
                                     u"丙班|03|王五|12| 99.50|7|1"_qs,
                                     u"一班|1|张三|9|98.5|600|3"_qs };
        QCOMPARE(gridRows(), expected);
        QVERIFY(QFile::exists(exchange(u"c.zip"_qs)));
        QVERIFY(QFile::exists(app(u"cj.zip"_qs)));

        click("fresh");
        QCOMPARE(gridRows(), expected);
        // The table outlives the window.
        createWindow();
        QCOMPARE(gridRows(), expected);
    }

    void unreadableFilesAreSkippedAndReported()
    {
        createWindow();
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"good"_qs, 50);
        const QByteArray numbers = "40\r\n98\r\n12\r\n1\r\n1\r\n1\r\n1\r\n";
        writeScrambled(m_exchangeFolder, u"short.zip"_qs, numbers.left(12));
        writeScrambled(m_exchangeFolder, u"nan.zip"_qs,
                       QByteArray(numbers).replace("12", "fast") + "\"a\"\r\n\"b\"\r\n\"c\"\r\n");
        writeScrambled(m_exchangeFolder, u"name.zip"_qs, numbers + "\"a\"\r\n\"b\"\r\nc\r\n");
        // Still being uploaded: the last line is cut off before its closing quote.
        writeScrambled(m_exchangeFolder, u"partial.zip"_qs, numbers + "\"a\"\r\n\"b\"\r\n\"cd");
        QVERIFY(QDir(m_exchangeFolder).mkdir(u"folder.zip"_qs));
        click("fresh");
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        QVERIFY(gridRows().value(0).startsWith(u"a|1|good|"_qs));
        QVERIFY(onlyMessage().contains(u"5"_qs));
        for (const char *name : { "short.zip", "nan.zip", "name.zip", "partial.zip", "folder.zip" })
            QVERIFY2(onlyMessage().contains(QLatin1String(name)), name);
    }

    void failedCollectionKeepsPreviousTable()
    {
        {
            // The database refuses the third row of any collection.
            ResultStore store(work(u"cj.mdb"_qs));
            QVERIFY(QSqlQuery(store.database())
                            .exec(u"CREATE TRIGGER refuse BEFORE INSERT ON tabCJ WHEN NEW.recno = "
                                  u"3 "
                                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_qs));
        }
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"old"_qs, 50);
        createWindow();
        click("fresh");
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        for (const QString &number : { u"2"_qs, u"3"_qs })
            upload(m_exchangeFolder, u"b"_qs, number, u"new"_qs, 60);
        click("fresh");
        QVERIFY(onlyMessage().contains(u"disk full"_qs));
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        QVERIFY(gridRows().value(0).startsWith(u"a|1|old|"_qs));
    }

    void unreadableDatabaseIsReported()
    {
        writeBytes(work(u"cj.mdb"_qs), QByteArray(4096, 'x'));
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        createWindow();
        QVERIFY(m_boxes.informed.value(0).contains(u"cj.mdb"_qs));
        m_boxes.informed.clear();
        click("fresh");
        click("CmdOutToExl");
        QCOMPARE(m_boxes.informed.size(), 2);
        QVERIFY(m_opened.isEmpty());
    }

    void clearingEmptiesTableAndFolder()
    {
        createWindow();
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        writeBytes(exchange(u"te.txt"_qs), "t");
        writeBytes(exchange(u"se.dll"_qs), "s");
        writeBytes(exchange(u".hidden"_qs), "h");
        // Collected, so cleared with the others.
        writeScrambled(m_exchangeFolder, u".dot.zip"_qs, resultLines(u"b"_qs, u"2"_qs, u"y"_qs, 9));
        QVERIFY(QDir(m_exchangeFolder).mkpath(u"sub/keep"_qs));
        click("fresh");
        QCOMPARE(text("LblRenShu"), u"2"_qs);
        click("ClearLast");
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QCOMPARE(gridRows(), QStringList());
        QCOMPARE(QDir(m_exchangeFolder)
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList { u".hidden"_qs, u"sub"_qs }));
        QVERIFY(m_boxes.informed.isEmpty());
    }

    void undeletableFileIsReported()
    {
        writeBytes(exchange(u"a.zip"_qs), "x");
        writeBytes(exchange(u"b.zip"_qs), "x");
        // An immutable file cannot be deleted, not even by root; the next one still goes.
        const auto chattr = [this](const char *flag) {
            return QProcess::execute(u"chattr"_qs, { QLatin1String(flag), exchange(u"a.zip"_qs) })
                    == 0;
        };
        if (!chattr("+i"))
            QSKIP("chattr +i is not available here");
        const auto undo = qScopeGuard([&] { chattr("-i"); });
        createWindow();
        click("ClearLast");
        QVERIFY(onlyMessage().contains(u"a.zip"_qs));
        QCOMPARE(QDir(m_exchangeFolder).entryList(QDir::Files), QStringList { u"a.zip"_qs });
    }

    void withoutFolderCollectKeepsAndClearEmpties()
    {
        m_exchangeFolder = work(u"gone"_qs);
        createWindow();
        QDir().mkpath(m_exchangeFolder);
        upload(m_exchangeFolder, u"a"_qs, u"1"_qs, u"x"_qs, 20);
        click("fresh");
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        QVERIFY(QDir(m_exchangeFolder).removeRecursively());
        const QString folderMessage = kFolderMessage + QDir::toNativeSeparators(m_exchangeFolder);
        click("fresh");
        QCOMPARE(m_boxes.informed, QStringList { folderMessage });
        QCOMPARE(text("LblRenShu"), u"1"_qs);
        m_boxes.informed.clear();
        click("ClearLast");
        QCOMPARE(m_boxes.informed, QStringList { folderMessage });
        QCOMPARE(text("LblRenShu"), u"0"_qs);
        QCOMPARE(gridRows(), QStringList());
    }

    void clearingNeverEmptiesTheConsolesOwnFolder()
    {
        // A mistaken KESTRIX_EXCHANGE_DIR pointing at the application folder.
        m_exchangeFolder = appFolder();
        writeBytes(app(u"time.txt"_qs), "20\r\n");
        createWindow();
        click("ClearLast");
        QCOMPARE(m_boxes.informed.size(), 1);
        QVERIFY(m_boxes.informed.first().startsWith(u"交换文件夹就是本程序的文件夹"_qs));
        QVERIFY(QFile::exists(app(u"time.txt"_qs)));
    }

    void exportedWorkbookReadsBack()
    {
        createWindow();
        upload(m_exchangeFolder, u"一班"_qs, u"007"_qs, u"张三"_qs, 56.1f, 98.25f, 300);
        upload(m_exchangeFolder, u"二班"_qs, u"008"_qs, u"李四"_qs, 80, 100, 600);
        click("fresh");
        click("CmdOutToExl");
        click("CmdOutToExl");
        QCOMPARE(m_opened.size(), 2);
        QVERIFY(m_opened[0] != m_opened[1]);
        // Made on the first export; each message names its workbook.
        QCOMPARE(QFileInfo(m_opened[0].toLocalFile()).absolutePath(), work(u"文档/成绩导出"_qs));
        QCOMPARE(m_boxes.informed.size(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(m_boxes.informed[i].contains(
                    QDir::toNativeSeparators(m_opened[i].toLocalFile())));

        QCOMPARE(
                workbookRows(m_opened[0].toLocalFile()),
                (QStringList {
                        u"str:打字考试成绩表|||||"_qs,
                        u"str:部门|str:考号|str:姓名|str:打字速度（字/分钟）|str:正确率（%）|str:打字时间（秒）"_qs,
                        u"str:二班|str:008|str:李四|int:80|int:100|int:600"_qs,
                        u"str:一班|str:007|str:张三|float:56.1|float:98.25|int:300"_qs }));

        // When no program opens it, the examiner learns where the workbook is.
        m_boxes.informed.clear();
        m_openSucceeds = false;
        click("CmdOutToExl");
        QVERIFY(onlyMessage().contains(QDir::toNativeSeparators(m_opened.last().toLocalFile())));
        QVERIFY(onlyMessage().contains(u"没有找到"_qs));
    }

    void aboutOnceAndManualQuietly()
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

        // The manual is absent here: the desktop reports that, not the console.
        m_openSucceeds = false;
        child<QAction>("manual")->trigger();
        QVERIFY(m_boxes.informed.isEmpty());
        QCOMPARE(m_opened, QList<QUrl> { QUrl::fromLocalFile(app(u"安装使用说明.html"_qs)) });
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
        m_window = std::make_unique<FrmMain>(
                console::ConsoleFolders { appFolder(), appFolder(), m_exchangeFolder,
                                          work(u"cj.mdb"_qs), work(u"文档/成绩导出"_qs) },
                hooks, &m_boxes);
        m_window->show();
    }

    template <typename T>
    T *child(const char *name)
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("missing control %s", name);
        return found;
    }
    void click(const char *key) { child<QAbstractButton>(key)->click(); }
    QString text(const char *label) { return child<QLabel>(label)->text(); }
    QString onlyMessage() const
    {
        return m_boxes.informed.size() == 1 ? m_boxes.informed[0] : QString();
    }
    QString gateCaption() { return child<QToolButton>("BeginStop")->text(); }
    bool shown(const char *frame) { return child<QWidget>(frame)->isVisibleTo(m_window.get()); }
    QString appFolder() const { return m_root->filePath(u"app"_qs); }
    QString app(const QString &name) const { return m_root->filePath(u"app/"_qs + name); }
    QString work(const QString &name) const { return m_root->filePath(name); }
    QString exchange(const QString &name) const { return QDir(m_exchangeFolder).filePath(name); }

    // The exam time in the published se.dll; 0 when it does not read back as login allowed.
    qint16 publishedMinutes()
    {
        const QByteArray published = readBytes(exchange(u"se.dll"_qs));
        const auto settings = readExamSettings(transcodeBytes(published, kExchangeKey));
        return settings.loginAllowed.value_or(false) ? settings.examMinutes.value_or(0) : 0;
    }

    // The grid's results-table columns, one "|"-joined line per row, in the table's order.
    QStringList gridRows()
    {
        const QAbstractItemModel *model = child<QTableView>("DataGrid1")->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 7; ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_exchangeFolder;
    std::unique_ptr<FrmMain> m_window;
    FakeMessages m_boxes;
    QString m_chosenFile, m_dialogFolder, m_chosenFolder;
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
