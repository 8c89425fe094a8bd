// The typing window driven offscreen: start-up, typing into TxtWrite, paging,
// the start on Enter, the clock through to the time being up, the status bar.
#include "fakes.h"
#include "frmmain.h"
#include "gbk.h"
#include "pageview.h"
#include "scoring.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// One open typing window over a temporary working folder.
struct Window
{
    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> messages = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> frm;

    template <typename T> T *child(const char *name) const
    {
        T *widget = frm->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QPlainTextEdit *txtWrite() const { return child<QPlainTextEdit>("TxtWrite"); }
    QScrollBar *vScroll1() const { return child<QScrollBar>("VScroll1"); }
    QLabel *lblInfo() const { return child<QLabel>("LblInfo"); }
    QLabel *lblTime() const { return child<QLabel>("LblTime"); }
    QString caption(const char *layer) const { return child<LayerCaption>(layer)->text(); }
};

// te.txt holds the target text as written (its lines end in CR LF); an
// empty optional leaves the file out.
std::unique_ptr<Window> openWindow(const std::optional<QString> &examText, int minutes = 10)
{
    auto window = std::make_unique<Window>();
    if (examText) {
        QFile file(window->folder.filePath(QStringLiteral("te.txt")));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write te.txt");
        file.write(gbk::encode(*examText));
    }
    const Examinee examinee{QStringLiteral("127.0.0.1"), QStringLiteral("计算机系"),
                            QStringLiteral("2026001"), QStringLiteral("张三"), qint16(minutes)};
    FrmMainServices services;
    services.inputMethods = std::make_unique<FakeInputMethods>(&window->activated);
    services.messages = window->messages;
    services.runTimers = false;
    window->frm = std::make_unique<FrmMain>(examinee, window->folder.path(), std::move(services));
    window->frm->show();
    if (!QTest::qWaitForWindowExposed(window->frm.get()))
        qFatal("window not shown");
    return window;
}

// Types as an examinee would: Enter for a line break, Backspace for \b, keys
// for ASCII, an input-method commit for every other character.
void type(QWidget *box, const QString &text)
{
    for (const QChar ch : text) {
        if (ch == u'\n') {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (ch == u'\b') {
            QTest::keyClick(box, Qt::Key_Backspace);
        } else if (ch.unicode() < 128) {
            QTest::keyClick(box, char(ch.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(ch));
            QApplication::sendEvent(box, &commit);
        }
    }
}

void startExam(Window &window)
{
    QTest::keyClick(window.frm->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->tabBar(), Qt::Key_Return);
}

// n lines of 34 ASCII characters each, CR LF after each.
QString lines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString(32, QChar(u'a' + i % 26)) + CRLF;
    return text;
}

}  // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT
private slots:
    void startUp();
    void missingExamText();
    void scrollRange_data();
    void scrollRange();
    void typing_data();
    void typing();
    void insertionKeepsThePageDeletionGoesToTheTop();
    void pagesAutomatically();
    void returnsFromAPageBelowTheTyping();
    void screenMatchesAFullRepaint();
    void startsOnEnter_data();
    void startsOnEnter();
    void enterOnCmdExitPressesIt();
    void clockRunsToTheEnd();
    void promptBlinksWhileWaiting();
    void unusableExamTime_data();
    void unusableExamTime();
    void statusBar();
};

void TestFrmMain::startUp()
{
    const QString target = u"春天来了，abc 123。"_qs + CRLF;
    auto w = openWindow(target);
    QCOMPARE(w->frm->windowTitle(), u"Kestrix客户端  v1.3"_qs);
    QCOMPARE(w->child<QLabel>("LblBanName")->text(), u"计算机系"_qs);
    QCOMPARE(w->child<QLabel>("LblXueHao")->text(), u"2026001"_qs);
    QCOMPARE(w->child<QLabel>("LblXingMing")->text(), u"张三"_qs);
    QCOMPARE(w->caption("LblGetText"), target);
    QCOMPARE(w->lblTime()->text(), u"10 : 00"_qs);
    QVERIFY(!w->txtWrite()->isEnabled());
    QVERIFY(!w->child<QTabWidget>("SSTab1")->isTabEnabled(1));
    QCOMPARE(w->child<QComboBox>("Combo1")->count(), 3);
    QCOMPARE(w->child<QComboBox>("Combo1")->currentIndex(), -1);
    QVERIFY(w->activated.isEmpty());
    QVERIFY(w->messages->informed.isEmpty());
    // The zero result taken at the end of start-up, on its way to the server.
    QCOMPARE(w->frm->upload().state(), ResultUpload::State::Uploading);
    QCOMPARE(w->lblInfo()->text(), u"考试结束，成绩正在上传，请稍候。打字速度：0字／分钟，正确率：0％"_qs);
    QCOMPARE(w->child<LayerCaption>("LblWrite")->geometry(), w->child<LayerCaption>("LblGetText")->rect());
    QCOMPARE(w->frm->focusWidget(), w->child<QTabWidget>("SSTab1")->tabBar());
}

void TestFrmMain::missingExamText()
{
    auto w = openWindow(std::nullopt);
    QCOMPARE(w->messages->informed, QStringList{u"考试文件不存在"_qs});
    QCOMPARE(w->vScroll1()->maximum(), 0);
    startExam(*w);
    type(w->txtWrite(), u"ab"_qs);
    QCOMPARE(w->frm->session().rightCount() + w->frm->session().errorCount(), 0);
}

void TestFrmMain::scrollRange_data()
{
    QTest::addColumn<int>("targetLen");
    QTest::addColumn<int>("max");
    QTest::newRow("374") << 374 << 0;
    QTest::newRow("391") << 391 << 1;
    QTest::newRow("425") << 425 << 1;
}

void TestFrmMain::scrollRange()
{
    QFETCH(int, targetLen);
    auto w = openWindow(QString(targetLen - 2, u'x') + CRLF);
    QTEST(w->vScroll1()->maximum(), "max");
    QCOMPARE(w->vScroll1()->pageStep(), 10);
}

void TestFrmMain::typing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("keys");  // \n is Enter, \b Backspace
    QTest::addColumn<QString>("writeText");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    const QString wide(QChar(0x3000));
    const QString twoLines = u"ab"_qs + CRLF + u"cd"_qs + CRLF;
    QTest::newRow("right and wrong") << (u"中文，Ab1!"_qs + CRLF) << u"中x，ab1"_qs
                                     << (u"中"_qs + wide + u"， b1"_qs) << (wide + u"文"_qs + wide + u"A  "_qs) << 4 << 2;
    QTest::newRow("Enter against a line break") << twoLines << u"ab\ncd"_qs << (u"ab"_qs + CRLF + u"cd"_qs)
                                                << QString(6, u' ') << 6 << 0;
    QTest::newRow("line break missed") << twoLines << u"abcd"_qs << u"ab  "_qs << (u"  "_qs + CRLF) << 2 << 2;
    QTest::newRow("Backspace") << (u"abcdef"_qs + CRLF) << u"abx\bc"_qs << u"abc"_qs << u"   "_qs << 3 << 0;
    QTest::newRow("past the end") << (u"ab"_qs + CRLF) << u"ab\nxyz"_qs << (u"ab"_qs + CRLF) << u"    "_qs << 4 << 0;
}

void TestFrmMain::typing()
{
    QFETCH(QString, target);
    QFETCH(QString, keys);
    auto w = openWindow(target);
    startExam(*w);
    type(w->txtWrite(), keys);
    QTEST(w->caption("LblWrite"), "writeText");
    QTEST(w->caption("LblError"), "errorText");
    QTEST(w->frm->session().rightCount(), "right");
    QTEST(w->frm->session().errorCount(), "wrong");
}

void TestFrmMain::insertionKeepsThePageDeletionGoesToTheTop()
{
    const QString target = lines(40);
    auto w = openWindow(target);
    startExam(*w);
    QString typed = target.left(400);
    typed.replace(CRLF, u"\n"_qs);
    type(w->txtWrite(), typed);
    QCOMPARE(w->frm->topLine(), 10);
    QCOMPARE(w->frm->session().errorCount(), 0);
    w->vScroll1()->setValue(0);
    QCOMPARE(w->caption("LblGetText"), target);
    QTest::keyClick(w->txtWrite(), Qt::Key_Home, Qt::ControlModifier);
    type(w->txtWrite(), u"a"_qs);
    // Everything shifted by one: all compared again, the page left alone.
    QCOMPARE(w->frm->topLine(), 0);
    QCOMPARE(w->frm->session().typedLen(), 401);
    QCOMPARE(w->frm->session().rightCount() + w->frm->session().errorCount(), 401);
    QVERIFY(w->frm->session().errorCount() > 0);

    // Deleting everything brings the page back to the top, overlays empty.
    w->vScroll1()->setValue(10);
    QTest::keyClick(w->txtWrite(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w->txtWrite(), Qt::Key_Backspace);
    QCOMPARE(w->vScroll1()->value(), 0);
    QCOMPARE(w->caption("LblGetText"), target);
    QCOMPARE(w->caption("LblWrite"), QString());
    QCOMPARE(w->caption("LblError"), QString());
}

void TestFrmMain::pagesAutomatically()
{
    const QString target = QString(3000, u'a');
    auto w = openWindow(target);
    startExam(*w);
    type(w->txtWrite(), QString(340, u'a'));
    QCOMPARE(w->frm->topLine(), 0);
    type(w->txtWrite(), u"b"_qs);
    QCOMPARE(w->frm->topLine(), 10);
    QCOMPARE(w->vScroll1()->value(), 10);
    QCOMPARE(w->caption("LblGetText"), target.mid(340) + CRLF);
    QCOMPARE(w->caption("LblError"), u"a"_qs);
    QCOMPARE(w->caption("LblWrite"), u" "_qs);
}

void TestFrmMain::returnsFromAPageBelowTheTyping()
{
    auto w = openWindow(QString(3000, u'a'));
    startExam(*w);
    type(w->txtWrite(), QString(168, u'a'));
    w->vScroll1()->setValue(5);
    QCOMPARE(w->frm->topLine(), 5);
    QCOMPARE(w->frm->focusWidget(), w->txtWrite());
    type(w->txtWrite(), u"a"_qs);
    QCOMPARE(w->frm->topLine(), 4);
    w->vScroll1()->setValue(5);
    type(w->txtWrite(), u"a"_qs);
    QCOMPARE(w->frm->topLine(), 5);
}

void TestFrmMain::screenMatchesAFullRepaint()
{
    // Keystrokes repaint only the lines they change; what is on the screen
    // afterwards must equal the page painted afresh.
    const QString target = u"春天来了，校园里的桃花和杏花都开了。同学们在操场上跑步、跳绳，"_qs + CRLF
        + u"Typing practice makes perfect: 123 keys, 456 words."_qs + CRLF + lines(20);
    auto w = openWindow(target);
    startExam(*w);
    auto *page = w->child<LayerCaption>("LblGetText");
    const QString typed = u"春天来x，校园里的桃花和杏花都开了。同学们在操场上跑步、跳绳，\nTyqing prac"_qs;
    for (const QChar ch : typed) {
        type(w->txtWrite(), QString(ch));
        QCoreApplication::processEvents();
    }
    QTest::keyClick(w->txtWrite(), Qt::Key_Backspace);
    QCoreApplication::processEvents();
    const QPoint origin = page->mapTo(w->frm.get(), QPoint(0, 0));
    const QImage onScreen = w->frm->screen()
                                ->grabWindow(w->frm->winId(), origin.x(), origin.y(), page->width(), page->height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), fresh.size());
    QVERIFY(onScreen == fresh);
}

void TestFrmMain::startsOnEnter_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("chosen");  // entry of Combo1, -1 for none
    QTest::addColumn<int>("activated");
    QTest::newRow("tab strip, nothing chosen") << u"SSTab1"_qs << -1 << 0;
    QTest::newRow("Combo1, third chosen") << u"Combo1"_qs << 2 << 2;
    QTest::newRow("VScroll1") << u"VScroll1"_qs << -1 << 0;
    QTest::newRow("window") << u"FrmMain"_qs << 1 << 1;
}

void TestFrmMain::startsOnEnter()
{
    QFETCH(QString, control);
    QFETCH(int, chosen);
    auto w = openWindow(lines(40));
    w->child<QComboBox>("Combo1")->setCurrentIndex(chosen);
    w->vScroll1()->setValue(3);
    QWidget *target = control == u"SSTab1"_qs ? w->child<QTabWidget>("SSTab1")->tabBar()
        : control == u"FrmMain"_qs            ? w->frm.get()
                                              : w->frm->findChild<QWidget *>(control);
    QTest::keyClick(target, Qt::Key_A);
    QVERIFY(!w->frm->started());
    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY(w->frm->started());
    QCOMPARE(w->frm->clock().state(), ExamClock::State::Running);
    QVERIFY(w->txtWrite()->isEnabled());
    QCOMPARE(w->frm->focusWidget(), w->txtWrite());
    QCOMPARE(w->lblInfo()->text(), QString());
    QCOMPARE(w->vScroll1()->value(), 0);
    QFETCH(int, activated);
    QCOMPARE(w->activated, QList<int>{activated});
    // A second Enter is a line break in the box and restarts nothing.
    w->frm->onClockTick();
    QTest::keyClick(w->txtWrite(), Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(w->frm->session().typedLen(), 2);
    QCOMPARE(w->frm->clock().timePass(), 1);
    QCOMPARE(w->activated, QList<int>{activated});
}

void TestFrmMain::enterOnCmdExitPressesIt()
{
    auto w = openWindow(lines(2));
    QSignalSpy exit(w->frm.get(), &FrmMain::exitRequested);
    QTest::keyClick(w->child<QPushButton>("CmdExit"), Qt::Key_Return);
    QCOMPARE(exit.count(), 1);
    QVERIFY(!w->frm->started());
    QCOMPARE(w->child<QPushButton>("CmdExit")->text(), u"结束考试"_qs);
}

void TestFrmMain::clockRunsToTheEnd()
{
    const QString target = lines(40);
    auto w = openWindow(target, 5);
    QCOMPARE(w->lblTime()->text(), u"05 : 00"_qs);
    startExam(*w);
    type(w->txtWrite(), QString(400, u'a'));
    for (int i = 0; i < 4; ++i)
        w->frm->onClockTick();
    QCOMPARE(w->lblInfo()->text(), QString());
    w->frm->onClockTick();
    const int right = w->frm->session().rightCount();
    const int wrong = w->frm->session().errorCount();
    QCOMPARE(w->lblInfo()->text(), scoring::progressText(scoring::speed(right, 5), scoring::accuracy(right, wrong)));
    QCOMPARE(w->lblTime()->text(), u"04 : 55"_qs);
    for (int i = 5; i < 299; ++i)
        w->frm->onClockTick();
    QVERIFY(w->txtWrite()->isEnabled());
    w->frm->onClockTick();
    QCOMPARE(w->lblTime()->text(), u"00 : 00"_qs);
    QVERIFY(!w->txtWrite()->isEnabled());
    QCOMPARE(w->frm->speed(), scoring::speed(right, 300));
    QCOMPARE(w->lblInfo()->text(), finishText(w->frm->upload().state(), w->frm->speed(), w->frm->zhengQueLv()));
    // The window stays: the text pages, the overlays keep their state, and
    // the typing box takes nothing more.
    const QString writeBefore = w->frm->session().writeText();
    w->vScroll1()->setValue(0);
    QCOMPARE(w->caption("LblGetText"), target);
    QCOMPARE(w->caption("LblWrite"), writeBefore);
    w->vScroll1()->setValue(2);
    QCOMPARE(w->caption("LblError"), w->frm->session().errorText().mid(68));
    type(w->txtWrite(), u"a"_qs);
    QCOMPARE(w->frm->session().typedLen(), 400);
}

void TestFrmMain::promptBlinksWhileWaiting()
{
    auto w = openWindow(lines(2));
    const QString prompt = u"按下回车键开始计时考试，不会打的汉字请随便打一汉字代替......"_qs;
    for (int cycle = 0; cycle < 2; ++cycle) {
        for (int tick = 1; tick <= 5; ++tick) {
            w->frm->onPromptTick();
            QCOMPARE(w->lblInfo()->text(), prompt);
            QCOMPARE(w->lblInfo()->palette().color(QPalette::WindowText), QColor(0xC0, 0, 0));
        }
        w->frm->onPromptTick();
        QCOMPARE(w->lblInfo()->text(), QString());
    }
}

void TestFrmMain::unusableExamTime_data()
{
    QTest::addColumn<int>("minutes");
    QTest::newRow("0 minutes") << 0;
    QTest::newRow("547 minutes") << 547;
}

void TestFrmMain::unusableExamTime()
{
    QFETCH(int, minutes);
    auto w = openWindow(lines(2), minutes);
    QVERIFY(w->lblInfo()->text().contains(u"不能开始考试"_qs));
    startExam(*w);
    QCOMPARE(w->messages->informed.size(), 1);
    QVERIFY(w->messages->informed.first().contains(u"546"_qs));
    QVERIFY(!w->frm->started());
    QVERIFY(!w->txtWrite()->isEnabled());
    QSignalSpy exit(w->frm.get(), &FrmMain::exitRequested);
    QTest::mouseClick(w->child<QPushButton>("CmdExit"), Qt::LeftButton);
    QCOMPARE(exit.count(), 1);
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

void TestFrmMain::statusBar()
{
    auto w = openWindow(lines(2));
    auto *bar = w->child<QStatusBar>("StatusBar1");
    const QList<QLabel *> panels = bar->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(panels.size(), 4);
    w->frm->onStatusTick();
    const QDateTime shown = QLocale::system().toDateTime(panels[0]->text(), QLocale::ShortFormat);
    QVERIFY(shown.isValid());
    QVERIFY(qAbs(shown.secsTo(QDateTime::currentDateTime())) < 120);

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"https"_qs, &catcher, "open");
    QCOMPARE(panels[2]->property("key").toString(), u"url"_qs);
    QTest::mouseClick(panels[1], Qt::LeftButton);
    QVERIFY(catcher.opened.isEmpty());
    QTest::mouseClick(panels[2], Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(u"https"_qs);
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl(FrmMain::websiteAddress())});
}

QTEST_MAIN(TestFrmMain)
#include "tst_typingwindow.moc"
