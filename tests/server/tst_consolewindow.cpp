#include "examsettings.h"
#include "frmabout.h"
#include "frmmain.h"
#include "gbk.h"
#include "resultfiles.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

}  // namespace

using console::ConsoleFolders;
using console::FrmMain;

class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunShowsResultsViewAndDefaults();
    void startupReadsExamTime_data();
    void startupReadsExamTime();
    void readinessMessagesInOrder_data();
    void readinessMessagesInOrder();
    void openingPublishesInMemoryTime();
    void closingWithFilesAlreadyGone();
    void loginLeftOpenShowsOpenAtStartUp();
    void reopeningPublishesCurrentSettings();
    void failedPublishLeavesGateClosed();
    void unreadableDatabaseIsReported();
    void settingsPanelCountsAndReopens();
    void savingFractionalTime();
    void refusedTimeKeepsPanelOpen();
    void cancelRestoresTimeBox();

    void collectingFillsGridBySpeed();
    void skippedFilesAreReported();
    void clearingEmptiesTableAndFolder();
    void withoutFolderCollectKeepsAndClearEmpties();
    void exportedWorkbookReadsBack();
    void aboutTwiceShowsOneBox();
    void manualAbsentShowsNoMessage();

private:
    void createWindow();
    void click(const char *key);
    template <typename T>
    T *child(const char *name)
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("missing control %s", name);
        return found;
    }
    QString text(const char *labelName) { return child<QLabel>(labelName)->text(); }
    bool shown(const char *frameName) { return child<QWidget>(frameName)->isVisibleTo(m_window.get()); }
    QString app(const QString &name) const { return m_app->filePath(name); }
    QString exchange(const QString &name) const { return m_exchange->filePath(name); }
    void setUpExam(const QByteArray &text, const QByteArray &time);

    std::unique_ptr<QTemporaryDir> m_app;
    std::unique_ptr<QTemporaryDir> m_exchange;
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_exchangeFolder;
    std::unique_ptr<FrmMain> m_window;
    QStringList m_messages;
    QString m_chosenFile;
    QString m_dialogFolder;
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;
};

void TestFrmMain::init()
{
    m_app = std::make_unique<QTemporaryDir>();
    m_exchange = std::make_unique<QTemporaryDir>();
    m_work = std::make_unique<QTemporaryDir>();
    m_exchangeFolder = m_exchange->path();
    m_messages.clear();
    m_chosenFile.clear();
    m_opened.clear();
    m_openSucceeds = true;
}

void TestFrmMain::cleanup()
{
    m_window.reset();
    m_app.reset();
    m_exchange.reset();
    m_work.reset();
}

void TestFrmMain::createWindow()
{
    ConsoleHooks hooks;
    hooks.showMessage = [this](QWidget *, const QString &text) { m_messages << text; };
    hooks.chooseArticle = [this](QWidget *, const QString &folder) {
        m_dialogFolder = folder;
        return m_chosenFile;
    };
    hooks.openUrl = [this](const QUrl &url) {
        m_opened << url;
        return m_openSucceeds;
    };
    ConsoleFolders folders;
    folders.application = m_app->path();
    folders.program = m_app->path();
    folders.exchange = m_exchangeFolder;
    folders.database = m_work->filePath(QStringLiteral("cj.mdb"));
    folders.exports = m_work->path();
    m_window = std::make_unique<FrmMain>(folders, hooks);
    m_window->show();
}

void TestFrmMain::click(const char *key)
{
    child<QAbstractButton>(key)->click();
}

void TestFrmMain::setUpExam(const QByteArray &text, const QByteArray &time)
{
    writeBytes(app(QStringLiteral("test.txt")), text);
    writeBytes(app(QStringLiteral("time.txt")), time);
}

void TestFrmMain::firstRunShowsResultsViewAndDefaults()
{
    createWindow();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kestrix服务器"));
    QCOMPARE(m_window->size(), QSize(672, 503));
    QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), QStringLiteral("20"));
    QVERIFY(shown("FrameCJ"));
    QVERIFY(shown("FrameCJ1"));
    QVERIFY(!shown("FrameSet"));
    QCOMPARE(text("LblRenShu"), QStringLiteral("0"));
    QVERIFY(QFile::exists(m_work->filePath(QStringLiteral("cj.mdb"))));
    QCOMPARE(child<QWidget>("FrameCJ")->geometry(), QRect(16, 53, 641, 400));
    QCOMPARE(child<QWidget>("DataGrid1")->geometry(), QRect(2, 8, 633, 388));
    QCOMPARE(child<QWidget>("FrameSet")->geometry(), QRect(8, 64, 657, 433));

    // The toolbar's buttons, in order, with captions and tooltips.
    QStringList keys, captions;
    for (QAction *action : child<QToolBar>("Toolbar1")->actions()) {
        auto *button = qobject_cast<QToolButton *>(child<QToolBar>("Toolbar1")->widgetForAction(action));
        keys << button->objectName();
        captions << button->text();
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(keys, (QStringList{QStringLiteral("ClearLast"), QStringLiteral("set"),
                                QStringLiteral("BeginStop"), QStringLiteral("fresh"),
                                QStringLiteral("help")}));
    QCOMPARE(captions, (QStringList{QStringLiteral("清空上次"), QStringLiteral("考试设置"),
                                    QStringLiteral("允许登录"), QStringLiteral("获取成绩"),
                                    QStringLiteral("帮助")}));
    QCOMPARE(child<QToolButton>("BeginStop")->toolTip(), QStringLiteral("允许考生登录服务器以开始考试"));
    QStringList entries;
    for (QAction *action : child<QToolButton>("help")->menu()->actions())
        entries << action->objectName() + QLatin1Char('=') + action->text();
    QCOMPARE(entries, (QStringList{QStringLiteral("manual=使用说明"), QStringLiteral("about=关于")}));

    // The grid's columns, by their place on screen.
    auto *grid = child<QTableView>("DataGrid1");
    QStringList headers;
    for (int visual = 0; visual < 7; ++visual) {
        const int logical = grid->horizontalHeader()->logicalIndex(visual);
        headers << grid->model()->headerData(logical, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, (QStringList{QStringLiteral("     部    门"), QStringLiteral("     考    号"),
                                   QStringLiteral("   姓    名"), QStringLiteral("打字速度（字/分钟）"),
                                   QStringLiteral("正确率（％）"), QStringLiteral("打字时间（秒）"),
                                   QStringLiteral("RecNo")}));
    QCOMPARE(grid->columnWidth(grid->horizontalHeader()->logicalIndex(0)), 128);
    QVERIFY(m_messages.isEmpty());
}

void TestFrmMain::startupReadsExamTime_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("half goes to even") << QByteArray("12.5\r\n") << QStringLiteral("12");
    QTest::newRow("whole") << QByteArray("30\r\n") << QStringLiteral("30");
    QTest::newRow("not a number") << QByteArray("x\r\n") << QStringLiteral("20");
}

void TestFrmMain::startupReadsExamTime()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    writeBytes(app(QStringLiteral("time.txt")), stored);
    createWindow();
    QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), shown);
    QCOMPARE(QString::number(m_window->examMinutes()), shown);
}

void TestFrmMain::readinessMessagesInOrder_data()
{
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<bool>("hasTime");
    QTest::addColumn<bool>("hasFolder");
    QTest::addColumn<QString>("message");
    const QString text = QStringLiteral("尚未设置考试内容");
    const QString time = QStringLiteral("尚未设置考试时间");
    QTest::newRow("nothing") << false << false << false << text;
    QTest::newRow("text only") << true << false << false << time;
    QTest::newRow("no text, rest there") << false << true << true << text;
    QTest::newRow("no folder") << true << true << false
                               << QStringLiteral("Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为");
}

void TestFrmMain::readinessMessagesInOrder()
{
    QFETCH(bool, hasText);
    QFETCH(bool, hasTime);
    QFETCH(bool, hasFolder);
    QFETCH(QString, message);
    if (hasText)
        writeBytes(app(QStringLiteral("test.txt")), "ab\r\n");
    if (hasTime)
        writeBytes(app(QStringLiteral("time.txt")), "20\r\n");
    if (!hasFolder)
        m_exchangeFolder = m_exchange->filePath(QStringLiteral("typedata"));
    createWindow();
    click("BeginStop");
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].startsWith(message), qPrintable(m_messages[0]));
    if (!hasFolder && hasText && hasTime)
        QCOMPARE(m_messages[0], message + QDir::toNativeSeparators(m_exchangeFolder));
    QCOMPARE(child<QToolButton>("BeginStop")->text(), QStringLiteral("允许登录"));
    QVERIFY(QDir(m_exchange->path()).isEmpty());
}

void TestFrmMain::openingPublishesInMemoryTime()
{
    const QByteArray examText = gbk::encode(u"春眠不觉晓\r\nab\r\n");
    setUpExam(examText, "30\r\n");
    createWindow();
    // The file changes behind the console's back; the time in force is 30.
    writeBytes(app(QStringLiteral("time.txt")), "45\r\n");
    click("BeginStop");
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    QCOMPARE(readBytes(exchange(QStringLiteral("te.txt"))), examText);
    const auto settings = readExamSettings(
        transcodeBytes(readBytes(exchange(QStringLiteral("se.dll"))), kExchangeKey));
    QCOMPARE(settings.loginAllowed.value_or(false), true);
    QCOMPARE(settings.examMinutes.value_or(0), qint16(30));
    QVERIFY(!QFile::exists(app(QStringLiteral("se.dll"))));
    QVERIFY(!QFile::exists(app(QStringLiteral("se1.dll"))));

    auto *beginStop = child<QToolButton>("BeginStop");
    QCOMPARE(beginStop->text(), QStringLiteral("禁止登录"));
    QCOMPARE(beginStop->toolTip(), QStringLiteral("禁止考生登录服务器，但不影响已开始考试的考生"));
    QCOMPARE(beginStop->property("imageKey").toString(), QStringLiteral("stop"));
    QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());
}

void TestFrmMain::loginLeftOpenShowsOpenAtStartUp()
{
    // The last console ended with login open: se.dll is still published.
    setUpExam("ab\r\n", "20\r\n");
    createWindow();
    click("BeginStop");
    m_window.reset();
    createWindow();
    QCOMPARE(child<QToolButton>("BeginStop")->text(), QStringLiteral("禁止登录"));
    QVERIFY(!child<QToolButton>("ClearLast")->isEnabled());
    click("BeginStop");
    QVERIFY(!QFile::exists(exchange(QStringLiteral("se.dll"))));
    QVERIFY(!QFile::exists(exchange(QStringLiteral("te.txt"))));
    QCOMPARE(child<QToolButton>("BeginStop")->text(), QStringLiteral("允许登录"));
}

void TestFrmMain::closingWithFilesAlreadyGone()
{
    setUpExam("ab\r\n", "20\r\n");
    createWindow();
    click("BeginStop");
    QVERIFY(QFile::remove(exchange(QStringLiteral("te.txt"))));
    QVERIFY(QFile::remove(exchange(QStringLiteral("se.dll"))));
    click("BeginStop");
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(child<QToolButton>("BeginStop")->text(), QStringLiteral("允许登录"));
    QCOMPARE(child<QToolButton>("BeginStop")->property("imageKey").toString(), QStringLiteral("begin"));
    QVERIFY(child<QToolButton>("ClearLast")->isEnabled());
}

void TestFrmMain::reopeningPublishesCurrentSettings()
{
    setUpExam("old\r\n", "20\r\n");
    createWindow();
    click("BeginStop");
    click("BeginStop");
    QVERIFY(!QFile::exists(exchange(QStringLiteral("te.txt"))));
    QVERIFY(!QFile::exists(exchange(QStringLiteral("se.dll"))));

    m_chosenFile = m_work->filePath(QStringLiteral("new.txt"));
    writeBytes(m_chosenFile, "new\r\n");
    click("set");
    click("CmdChFile");
    child<QComboBox>("CmbTestTime")->setEditText(QStringLiteral("15"));
    click("CmdSave");
    click("BeginStop");
    QCOMPARE(readBytes(exchange(QStringLiteral("te.txt"))), QByteArray("new\r\n"));
    const auto settings = readExamSettings(
        transcodeBytes(readBytes(exchange(QStringLiteral("se.dll"))), kExchangeKey));
    QCOMPARE(settings.examMinutes.value_or(0), qint16(15));
}

void TestFrmMain::failedPublishLeavesGateClosed()
{
    setUpExam("ab\r\n", "20\r\n");
    // se.dll cannot be put in place: a folder holds its name.
    QVERIFY(QDir(m_exchange->path()).mkdir(QStringLiteral("se.dll")));
    createWindow();
    click("BeginStop");
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].contains(QStringLiteral("se.dll")));
    QCOMPARE(child<QToolButton>("BeginStop")->text(), QStringLiteral("允许登录"));
    QVERIFY(child<QToolButton>("ClearLast")->isEnabled());
    QVERIFY(!QFile::exists(exchange(QStringLiteral("te.txt"))));
    QVERIFY(!QFile::exists(app(QStringLiteral("se.dll"))));
    QVERIFY(!QFile::exists(app(QStringLiteral("se1.dll"))));
}

void TestFrmMain::unreadableDatabaseIsReported()
{
    writeBytes(m_work->filePath(QStringLiteral("cj.mdb")), QByteArray(4096, 'x'));
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("x"), 20));
    createWindow();
    QVERIFY(!m_messages.isEmpty());
    QVERIFY(m_messages[0].contains(QStringLiteral("cj.mdb")));
    m_messages.clear();
    click("fresh");
    click("CmdOutToExl");
    QCOMPARE(m_messages.size(), 2);
    QVERIFY(m_opened.isEmpty());
}

void TestFrmMain::settingsPanelCountsAndReopens()
{
    createWindow();
    click("set");
    QVERIFY(shown("FrameSet"));
    QVERIFY(!shown("FrameCJ"));
    QVERIFY(!shown("FrameCJ1"));
    QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), QString());
    QCOMPARE(text("LblWordCount"), QString());

    m_chosenFile = m_work->filePath(QStringLiteral("article.txt"));
    const QByteArray article = gbk::encode(u"ab\r\n中文\r\n");
    writeBytes(m_chosenFile, article);
    click("CmdChFile");
    QCOMPARE(m_dialogFolder, app(QStringLiteral("article")));
    QCOMPARE(text("LblWordCount"), QStringLiteral("8"));
    QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), QStringLiteral("ab\n中文\n"));
    click("CmdSave");
    QVERIFY(m_messages.isEmpty());
    QVERIFY(!shown("FrameSet"));
    QVERIFY(shown("FrameCJ1"));
    QCOMPARE(readBytes(app(QStringLiteral("test.txt"))), article);

    click("set");
    QCOMPARE(text("LblWordCount"), QStringLiteral("6"));
    QCOMPARE(child<QPlainTextEdit>("TxtType")->toPlainText(), QStringLiteral("ab\n中文\n"));

    // A cancelled dialog keeps the text and the chosen file.
    m_chosenFile.clear();
    click("CmdChFile");
    QCOMPARE(text("LblWordCount"), QStringLiteral("6"));
    QCOMPARE(m_window->chosenArticlePath(), m_work->filePath(QStringLiteral("article.txt")));
}

void TestFrmMain::savingFractionalTime()
{
    createWindow();
    click("set");
    child<QComboBox>("CmbTestTime")->setEditText(QStringLiteral("12.5"));
    click("CmdSave");
    QCOMPARE(m_window->examMinutes(), qint16(12));
    QCOMPARE(readBytes(app(QStringLiteral("time.txt"))), QByteArray("12.5\r\n"));
    QVERIFY(!QFile::exists(app(QStringLiteral("test.txt"))));
    m_window.reset();
    createWindow();
    QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), QStringLiteral("12"));
}

void TestFrmMain::refusedTimeKeepsPanelOpen()
{
    createWindow();
    click("set");
    child<QComboBox>("CmbTestTime")->setEditText(QStringLiteral("600"));
    click("CmdSave");
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(shown("FrameSet"));
    QCOMPARE(m_window->examMinutes(), qint16(20));
    QVERIFY(!QFile::exists(app(QStringLiteral("time.txt"))));
}

void TestFrmMain::cancelRestoresTimeBox()
{
    createWindow();
    click("set");
    child<QComboBox>("CmbTestTime")->setEditText(QStringLiteral("45"));
    click("CmdCancel");
    QCOMPARE(child<QComboBox>("CmbTestTime")->currentText(), QStringLiteral("20"));
    QVERIFY(!shown("FrameSet"));
    QVERIFY(shown("FrameCJ"));
    QVERIFY(!QFile::exists(app(QStringLiteral("time.txt"))));
}

void TestFrmMain::collectingFillsGridBySpeed()
{
    createWindow();
    click("fresh");
    QCOMPARE(text("LblRenShu"), QStringLiteral("0"));
    QVERIFY(m_messages.isEmpty());

    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("慢"), 20));
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("b"), QStringLiteral("2"), QStringLiteral("快"), 120.5f));
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("c"), QStringLiteral("3"), QStringLiteral("中"), 100));
    // The same examinee under changed details is a second file and a second row.
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("c"), QStringLiteral("33"), QStringLiteral("中"), 9));
    click("set");
    click("fresh");
    QVERIFY(!shown("FrameSet"));
    QVERIFY(shown("FrameCJ"));
    QCOMPARE(text("LblRenShu"), QStringLiteral("4"));
    auto *grid = child<QTableView>("DataGrid1");
    QAbstractItemModel *model = grid->model();
    QStringList names, recNos;
    const int nameColumn = grid->horizontalHeader()->logicalIndex(2);
    const int recNoColumn = grid->horizontalHeader()->logicalIndex(6);
    for (int row = 0; row < model->rowCount(); ++row) {
        names << model->index(row, nameColumn).data().toString();
        recNos << model->index(row, recNoColumn).data().toString();
    }
    QCOMPARE(names, (QStringList{QStringLiteral("快"), QStringLiteral("中"), QStringLiteral("慢"),
                                 QStringLiteral("中")}));
    QCOMPARE(recNos, (QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("1"),
                                  QStringLiteral("4")}));
    QVERIFY(m_messages.isEmpty());

    // The table outlives the window.
    m_window.reset();
    createWindow();
    QCOMPARE(text("LblRenShu"), QStringLiteral("4"));
}

void TestFrmMain::skippedFilesAreReported()
{
    createWindow();
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("好"), 20));
    writeScrambled(m_exchangeFolder, QStringLiteral("broken.zip"), "40\r\n98\r\n");
    click("fresh");
    QCOMPARE(text("LblRenShu"), QStringLiteral("1"));
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].contains(QStringLiteral("broken.zip")));
}

void TestFrmMain::clearingEmptiesTableAndFolder()
{
    createWindow();
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("x"), 20));
    writeBytes(exchange(QStringLiteral("te.txt")), "t");
    writeBytes(exchange(QStringLiteral("se.dll")), "s");
    click("fresh");
    QCOMPARE(text("LblRenShu"), QStringLiteral("1"));
    click("ClearLast");
    QCOMPARE(text("LblRenShu"), QStringLiteral("0"));
    QCOMPARE(child<QTableView>("DataGrid1")->model()->rowCount(), 0);
    QVERIFY(QDir(m_exchangeFolder).isEmpty());
    QVERIFY(m_messages.isEmpty());
}

void TestFrmMain::withoutFolderCollectKeepsAndClearEmpties()
{
    m_exchangeFolder = m_exchange->filePath(QStringLiteral("gone"));
    createWindow();
    QDir().mkpath(m_exchangeFolder);
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("x"), 20));
    click("fresh");
    QCOMPARE(text("LblRenShu"), QStringLiteral("1"));
    QVERIFY(QDir(m_exchangeFolder).removeRecursively());
    const QString folderMessage = QStringLiteral("Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为")
                                  + QDir::toNativeSeparators(m_exchangeFolder);
    // Collecting without the folder keeps the last results.
    click("fresh");
    QCOMPARE(m_messages, QStringList{folderMessage});
    QCOMPARE(text("LblRenShu"), QStringLiteral("1"));
    m_messages.clear();
    click("ClearLast");
    QCOMPARE(m_messages, QStringList{folderMessage});
    QCOMPARE(text("LblRenShu"), QStringLiteral("0"));
    QCOMPARE(child<QTableView>("DataGrid1")->model()->rowCount(), 0);
}

void TestFrmMain::exportedWorkbookReadsBack()
{
    createWindow();
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("一班"), QStringLiteral("007"),
                                              QStringLiteral("张三"), 56.1f, 98.25f, 300));
    uploadResult(m_exchangeFolder, makeResult(QStringLiteral("二班"), QStringLiteral("008"),
                                              QStringLiteral("李四"), 80, 100, 600));
    click("fresh");
    click("CmdOutToExl");
    click("CmdOutToExl");
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    QCOMPARE(m_opened.size(), 2);
    QVERIFY(m_opened[0] != m_opened[1]);
    const QString workbook = m_opened[0].toLocalFile();
    QVERIFY(QFileInfo(workbook).fileName().startsWith(QStringLiteral("打字考试成绩表-")));

    // Read back with openpyxl: every cell with its Python type.
    QProcess python;
    python.start(QStringLiteral(KESTRIX_PYTHON),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, openpyxl\n"
                                 "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                 "for row in ws.iter_rows(values_only=True):\n"
                                 "    print('|'.join('' if v is None else type(v).__name__ + ':' + str(v) for v in row))\n"),
                  workbook});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("str:打字考试成绩表|||||"));
    QCOMPARE(lines[1], QStringLiteral("str:部门|str:考号|str:姓名|str:打字速度（字/分钟）|str:正确率（%）|str:打字时间（秒）"));
    QCOMPARE(lines[2], QStringLiteral("str:二班|str:008|str:李四|int:80|str:100|int:600"));
    QCOMPARE(lines[3], QStringLiteral("str:一班|str:007|str:张三|float:56.1|str:98.25|int:300"));

    // When no program opens it, the examiner learns where the workbook is.
    m_openSucceeds = false;
    click("CmdOutToExl");
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].contains(QDir::toNativeSeparators(m_opened.last().toLocalFile())));
}

void TestFrmMain::aboutTwiceShowsOneBox()
{
    createWindow();
    QAction *about = child<QAction>("about");
    about->trigger();
    about->trigger();
    int boxes = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        boxes += qobject_cast<FrmAbout *>(widget) != nullptr && widget->isVisible();
    QCOMPARE(boxes, 1);
    FrmAbout *box = m_window->aboutBox();
    QCOMPARE(box->windowTitle(), QStringLiteral("关于Kestrix"));
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("LblVersion"))->text(), QStringLiteral("1.3"));
    QCOMPARE(box->size(), QSize(312, 199));
    QVERIFY(m_window->isEnabled());

    auto *mail = box->findChild<QLabel *>(QStringLiteral("Label5"));
    emit mail->linkActivated(QStringLiteral("mailto:support@kestrix.example.org"));
    QCOMPARE(m_opened, QList<QUrl>{FrmAbout::supportMail()});
}

void TestFrmMain::manualAbsentShowsNoMessage()
{
    createWindow();
    m_openSucceeds = false;
    child<QAction>("manual")->trigger();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(app(QStringLiteral("安装使用说明.html")))});
}

QTEST_MAIN(TestFrmMain)
#include "tst_consolewindow.moc"
