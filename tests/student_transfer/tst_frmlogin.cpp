// The login window against a real FTP service: the remembered address, the
// entry checks, the two downloads and every way a login is refused.
#include "examsettings.h"
#include "frmlogin.h"
#include "ftpservice.h"
#include "testfiles.h"
#include "transcode.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMillis = 20000;

// Answers every box at once and remembers what it said.
class RecordedMessages : public Messages
{
public:
    void inform(QWidget *, const QString &text) override { texts << text; }
    bool confirm(QWidget *, const QString &text) override
    {
        texts << text;
        return true;
    }
    QStringList texts;
};

QString notOpenYet()
{
    return QStringLiteral("还未开始考试，请稍后再登录");
}

}  // namespace

class TestFrmLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingClearsOldExamAndRecallsAddress_data();
    void openingClearsOldExamAndRecallsAddress();
    void emptyEntriesAreReportedInOrder_data();
    void emptyEntriesAreReportedInOrder();
    void enterMovesFocusDownToLoginButton();
    void settingsDecideTheLogin_data();
    void settingsDecideTheLogin();
    void completedLoginDownloadsTextAndRemembersAddress();
    void serviceDownShowsFailureText();
    void clickAfterTextFailureFetchesSettingsAgain();
    void clickWhileTransferRunsIsIgnored();
    void messageBoxesCarryProgramTitle_data();
    void messageBoxesCarryProgramTitle();

private:
    QString local(const QString &name) const { return m_work->filePath(name); }
    QString exchange(const QString &name) const { return QDir(m_service->folder()).filePath(name); }
    void publish(const QByteArray &plainSettings, const QByteArray &text = "第一行\r\n");
    std::unique_ptr<FrmLogin> openWindow();
    void fillIn(FrmLogin &window, const QString &ip);
    QString status(FrmLogin &window) const;
    void click(FrmLogin &window, const char *button) const;

    std::unique_ptr<FtpService> m_service;
    std::unique_ptr<QTemporaryDir> m_work;
    RecordedMessages m_messages;
};

void TestFrmLogin::init()
{
    m_service = std::make_unique<FtpService>();
    QVERIFY(m_service->start());
    m_work = std::make_unique<QTemporaryDir>();
    m_messages.texts.clear();
}

void TestFrmLogin::cleanup()
{
    m_service.reset();
    m_work.reset();
}

void TestFrmLogin::publish(const QByteArray &plainSettings, const QByteArray &text)
{
    QVERIFY(writeFile(exchange(QStringLiteral("se.dll")), transcodeBytes(plainSettings, kExchangeKey)));
    QVERIFY(writeFile(exchange(QStringLiteral("te.txt")), text));
}

std::unique_ptr<FrmLogin> TestFrmLogin::openWindow()
{
    auto window = std::make_unique<FrmLogin>(m_work->path(), &m_messages);
    window->show();
    return window;
}

void TestFrmLogin::fillIn(FrmLogin &window, const QString &ip)
{
    window.findChild<QLineEdit *>(QStringLiteral("TxtIP"))->setText(ip);
    window.findChild<QLineEdit *>(QStringLiteral("TxtBanName"))->setText(QStringLiteral("计算机系"));
    window.findChild<QLineEdit *>(QStringLiteral("TxtXueHao"))->setText(QStringLiteral(" 07 "));
    window.findChild<QLineEdit *>(QStringLiteral("TxtXingMing"))->setText(QStringLiteral("张三"));
}

QString TestFrmLogin::status(FrmLogin &window) const
{
    return window.findChild<QLabel *>(QStringLiteral("StBarPanel1"))->text();
}

void TestFrmLogin::click(FrmLogin &window, const char *button) const
{
    QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

void TestFrmLogin::openingClearsOldExamAndRecallsAddress_data()
{
    QTest::addColumn<bool>("hasAddressFile");
    QTest::addColumn<QByteArray>("addressFile");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no ip.txt") << false << QByteArray() << QString();
    QTest::newRow("remembered address")
        << true << QByteArray("\"192.168.1.10:2121\"\r\n") << QStringLiteral("192.168.1.10:2121");
    QTest::newRow("address with blanks kept")
        << true << QByteArray("\" host \"\r\n") << QStringLiteral(" host ");
    QTest::newRow("empty file") << true << QByteArray() << QString();
    QTest::newRow("empty value") << true << QByteArray("\"\"\r\n") << QString();
    QTest::newRow("value without quotes") << true << QByteArray("10.0.0.1\r\n") << QString();
}

void TestFrmLogin::openingClearsOldExamAndRecallsAddress()
{
    QFETCH(bool, hasAddressFile);
    QFETCH(QByteArray, addressFile);
    QFETCH(QString, shown);
    if (hasAddressFile)
        QVERIFY(writeFile(local(QStringLiteral("ip.txt")), addressFile));
    QVERIFY(writeFile(local(QStringLiteral("te.txt")), "an old exam"));
    QVERIFY(writeFile(local(QStringLiteral("se.dll")), "old settings"));

    auto window = openWindow();
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("TxtIP"))->text(), shown);
    QVERIFY(!QFile::exists(local(QStringLiteral("te.txt"))));
    QVERIFY(!QFile::exists(local(QStringLiteral("se.dll"))));
    QCOMPARE(QFile::exists(local(QStringLiteral("ip.txt"))), hasAddressFile);
}

void TestFrmLogin::emptyEntriesAreReportedInOrder_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("all empty") << QStringList{{}, {}, {}, {}} << QStringLiteral("请输入服务器IP")
                               << QStringLiteral("TxtIP");
    QTest::newRow("department") << QStringList{QStringLiteral("h"), {}, {}, QStringLiteral("n")}
                                << QStringLiteral("请输入部门") << QStringLiteral("TxtBanName");
    QTest::newRow("exam number") << QStringList{QStringLiteral("h"), QStringLiteral("d"), {}, {}}
                                 << QStringLiteral("请输入考号") << QStringLiteral("TxtXueHao");
    QTest::newRow("name") << QStringList{QStringLiteral("h"), QStringLiteral("d"), QStringLiteral("x"), {}}
                          << QStringLiteral("请输入姓名") << QStringLiteral("TxtXingMing");
}

void TestFrmLogin::emptyEntriesAreReportedInOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const char *boxes[] = {"TxtIP", "TxtBanName", "TxtXueHao", "TxtXingMing"};
    for (int i = 0; i < 4; ++i)
        window->findChild<QLineEdit *>(QLatin1String(boxes[i]))->setText(entries.at(i));
    window->findChild<QPushButton *>(QStringLiteral("CmdLogin"))->setFocus();

    click(*window, "CmdLogin");
    QCOMPARE(m_messages.texts, QStringList{message});
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QCOMPARE(window->session().phase(), LoginSession::Phase::Idle);
    QVERIFY(!window->session().channel().isBusy());
    QCOMPARE(status(*window), QString());
}

void TestFrmLogin::enterMovesFocusDownToLoginButton()
{
    auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy clicks(window->findChild<QPushButton *>(QStringLiteral("CmdLogin")), &QPushButton::clicked);
    window->findChild<QLineEdit *>(QStringLiteral("TxtIP"))->setFocus();
    const QStringList order{QStringLiteral("TxtBanName"), QStringLiteral("TxtXueHao"),
                            QStringLiteral("TxtXingMing"), QStringLiteral("CmdLogin")};
    for (const QString &next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
    QCOMPARE(clicks.count(), 0);
    QVERIFY(m_messages.texts.isEmpty());
    // Only a further Enter, on the button itself, presses it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_messages.texts, QStringList{QStringLiteral("请输入服务器IP")});
}

void TestFrmLogin::settingsDecideTheLogin_data()
{
    QTest::addColumn<bool>("published");
    QTest::addColumn<bool>("withText");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("examMinutes");
    const QString badSettings = QStringLiteral("考试设置有误，无法开始考试，请报告监考老师");
    const QByteArray allowed = ExamSettings{true, 20}.toRecordLines();
    QTest::newRow("login not opened") << false << true << QByteArray() << notOpenYet() << 0;
    QTest::newRow("login closed")
        << true << true << ExamSettings{false, 20}.toRecordLines() << notOpenYet() << 0;
    QTest::newRow("login allowed") << true << true << allowed << QString() << 20;
    QTest::newRow("longest exam") << true << true << QByteArray("#TRUE#\r\n546\r\n") << QString() << 546;
    QTest::newRow("extra lines ignored")
        << true << true << QByteArray("#TRUE#\r\n5\r\nmore\r\n") << QString() << 5;
    // The examiner closed login between the two downloads.
    QTest::newRow("text withdrawn") << true << false << allowed << notOpenYet() << 0;
    QTest::newRow("no exam time") << true << true << QByteArray("#TRUE#\r\n") << badSettings << 0;
    QTest::newRow("zero minutes") << true << true << QByteArray("#TRUE#\r\n0\r\n") << badSettings << 0;
    QTest::newRow("too long for the clock")
        << true << true << QByteArray("#TRUE#\r\n547\r\n") << badSettings << 0;
    QTest::newRow("negative minutes")
        << true << true << QByteArray("#TRUE#\r\n-5\r\n") << badSettings << 0;
    QTest::newRow("first line no Boolean")
        << true << true << QByteArray("yes\r\n20\r\n") << badSettings << 0;
    QTest::newRow("time not a number")
        << true << true << QByteArray("#TRUE#\r\ntwenty\r\n") << badSettings << 0;
}

void TestFrmLogin::settingsDecideTheLogin()
{
    QFETCH(bool, published);
    QFETCH(bool, withText);
    QFETCH(QByteArray, settings);
    QFETCH(QString, message);
    QFETCH(int, examMinutes);
    if (published)
        publish(settings);
    if (!withText)
        QFile::remove(exchange(QStringLiteral("te.txt")));
    auto window = openWindow();
    QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
    fillIn(*window, m_service->address());

    click(*window, "CmdLogin");
    QCOMPARE(status(*window), QStringLiteral("正在登录服务器......"));
    QTRY_VERIFY_WITH_TIMEOUT(window->session().phase() == LoginSession::Phase::Idle
                                 || window->session().phase() == LoginSession::Phase::Done,
                             kWaitMillis);
    QVERIFY(!QFile::exists(local(QStringLiteral("se1.dll"))));
    if (message.isEmpty()) {
        QCOMPARE(loggedIn.count(), 1);
        QCOMPARE(loggedIn.first().at(0).value<Examinee>().examMinutes, examMinutes);
        QVERIFY(!window->isVisible());
        QVERIFY(m_messages.texts.isEmpty());
    } else {
        QCOMPARE(m_messages.texts, QStringList{message});
        QCOMPARE(status(*window), QString());
        QCOMPARE(loggedIn.count(), 0);
        QVERIFY(window->isVisible());
        QVERIFY(!QFile::exists(local(QStringLiteral("te.txt"))));
        QVERIFY(!QFile::exists(local(QStringLiteral("ip.txt"))));
    }
}

void TestFrmLogin::completedLoginDownloadsTextAndRemembersAddress()
{
    const QByteArray text = "第一行文字\r\nsecond line\r\n";
    publish(ExamSettings{true, 15}.toRecordLines(), text);
    auto window = openWindow();
    QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
    fillIn(*window, m_service->address());
    click(*window, "CmdLogin");
    QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);

    const Examinee examinee = loggedIn.first().at(0).value<Examinee>();
    QCOMPARE(examinee.serverIP, m_service->address());
    QCOMPARE(examinee.banName, QStringLiteral("计算机系"));
    QCOMPARE(examinee.xueHao, QStringLiteral(" 07 "));  // as typed, blanks and all
    QCOMPARE(examinee.xingMing, QStringLiteral("张三"));
    QCOMPARE(examinee.examMinutes, qint16(15));
    QCOMPARE(readFile(local(QStringLiteral("te.txt"))), text);
    QCOMPARE(readFile(local(QStringLiteral("ip.txt"))), "\"" + m_service->address().toLatin1() + "\"\r\n");

    // The next start offers the address again.
    auto next = openWindow();
    QCOMPARE(next->findChild<QLineEdit *>(QStringLiteral("TxtIP"))->text(), m_service->address());
}

void TestFrmLogin::serviceDownShowsFailureText()
{
    QVERIFY(writeFile(local(QStringLiteral("ip.txt")), "\"10.1.1.1\"\r\n"));
    m_service->stop();
    auto window = openWindow();
    fillIn(*window, m_service->address());
    click(*window, "CmdLogin");
    QTRY_COMPARE_WITH_TIMEOUT(status(*window), QStringLiteral("登录服务器失败，请重新登录"), kWaitMillis);
    QVERIFY(m_messages.texts.isEmpty());
    QCOMPARE(window->session().phase(), LoginSession::Phase::Idle);
    // A failed attempt keeps the remembered address.
    QCOMPARE(readFile(local(QStringLiteral("ip.txt"))), QByteArray("\"10.1.1.1\"\r\n"));
}

void TestFrmLogin::clickAfterTextFailureFetchesSettingsAgain()
{
    // The settings are small enough to arrive; the text is cut off by the
    // channel's time limit.
    m_service->stop();
    QVERIFY(m_service->start(2000));
    publish(ExamSettings{true, 20}.toRecordLines(), everyByte(60 * 1024));
    auto window = openWindow();
    TransferChannel::Timeouts timeouts;
    timeouts.total = 1500ms;
    window->session().channel().setTimeouts(timeouts);
    QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
    fillIn(*window, m_service->address());
    click(*window, "CmdLogin");
    QTRY_COMPARE_WITH_TIMEOUT(status(*window), QStringLiteral("登录服务器失败，请重新登录"), kWaitMillis);
    QVERIFY(!QFile::exists(local(QStringLiteral("te.txt"))));

    // Meanwhile the examiner closes login: the next click must see that.
    m_service->stop();
    QVERIFY(m_service->start());
    QVERIFY(QFile::remove(exchange(QStringLiteral("se.dll"))));
    click(*window, "CmdLogin");
    QTRY_COMPARE_WITH_TIMEOUT(m_messages.texts, QStringList{notOpenYet()}, kWaitMillis);
    QCOMPARE(loggedIn.count(), 0);

    publish(ExamSettings{true, 20}.toRecordLines());
    click(*window, "CmdLogin");
    QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
}

void TestFrmLogin::clickWhileTransferRunsIsIgnored()
{
    m_service->stop();
    QVERIFY(m_service->start(10));  // the settings take about a second
    publish(ExamSettings{true, 20}.toRecordLines(), "abc\r\n");
    auto window = openWindow();
    QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
    QSignalSpy reports(&window->session().channel(), &TransferChannel::stateChanged);
    fillIn(*window, m_service->address());
    click(*window, "CmdLogin");
    QVERIFY(window->session().channel().isBusy());
    click(*window, "CmdLogin");
    // Even with an empty box nothing is checked while the transfer runs.
    window->findChild<QLineEdit *>(QStringLiteral("TxtXingMing"))->clear();
    click(*window, "CmdLogin");
    QVERIFY(m_messages.texts.isEmpty());

    QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
    QCOMPARE(reports.count(QVariantList{int(TransferChannel::Completed)}), 2);
    QCOMPARE(reports.count(QVariantList{int(TransferChannel::Error)}), 0);
    QCOMPARE(loggedIn.first().at(0).value<Examinee>().xingMing, QStringLiteral("张三"));
}

void TestFrmLogin::messageBoxesCarryProgramTitle_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("answer");
    const QStringList yesNo{QStringLiteral("是"), QStringLiteral("否")};
    QTest::newRow("OK only") << false << QStringLiteral("确定") << QStringList{QStringLiteral("确定")} << false;
    QTest::newRow("question, Yes") << true << QStringLiteral("是") << yesNo << true;
    QTest::newRow("question, No") << true << QStringLiteral("否") << yesNo << false;
}

void TestFrmLogin::messageBoxesCarryProgramTitle()
{
    QFETCH(bool, question);
    QFETCH(QString, press);
    QFETCH(QStringList, buttons);
    QFETCH(bool, answer);
    QString title;
    QStringList shown;
    QMessageBox::Icon icon = QMessageBox::Information;
    // Looks at the box once it is up, then answers it; fails rather than hangs.
    QTimer inspector;
    inspector.setInterval(10);
    connect(&inspector, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        inspector.stop();
        title = box->windowTitle();
        icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            shown << button->text();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == press)
                button->click();
        }
        if (box->isVisible())
            box->done(-1);
    });
    inspector.start();
    MessageBoxes boxes;
    bool answered = false;
    if (question)
        answered = boxes.confirm(nullptr, QStringLiteral("是否真的要退出考试？"));
    else
        boxes.inform(nullptr, QStringLiteral("请输入姓名"));
    QCOMPARE(title, QStringLiteral("Kestrix客户端"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    shown.sort();
    buttons.sort();
    QCOMPARE(shown, buttons);
    QCOMPARE(answered, answer);
}

QTEST_MAIN(TestFrmLogin)
#include "tst_frmlogin.moc"
