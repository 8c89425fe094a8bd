// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The login window against a real FTP service: the remembered address, the
// entry checks, the two downloads and every way a login is refused.
#include "exchange/examlimits.h"
#include "exchange/examsettings.h"
#include "exchange/identity.h"
#include "exchange/publication.h"
#include "exchange/recordlines.h"
#include "exchange/recordsignature.h"
#include "fakes.h"
#include "windows/frmlogin.h"
#include "ftpservice.h"
#include "smalldisk.h"
#include "testfiles.h"
#include "exchange/transcode.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMillis = 20000;
const QString kNotOpenYet = QStringLiteral("还未开始考试，请稍后再登录");
const QString kBadSettings = QStringLiteral("考试设置有误，无法开始考试，请报告监考老师");
const QString kFailed = QStringLiteral("登录服务器失败，请重新登录（%1）");

QLineEdit *box(FrmLogin &window, const char *name)
{
    return childOf<QLineEdit>(&window, name);
}
QString status(FrmLogin &window)
{
    return childOf<QLabel>(&window, "StBarPanel1")->text();
}
void clickLogin(FrmLogin &window)
{
    QTest::mouseClick(childOf<QPushButton>(&window, "CmdLogin"), Qt::LeftButton);
}

}  // namespace

class TestFrmLogin : public QObject
{
    Q_OBJECT
    std::unique_ptr<FtpService> m_service;
    std::unique_ptr<QTemporaryDir> m_work;
    FakeMessages m_messages;

    QString local(const QString &name) const { return m_work->filePath(name); }
    QString exchange(const QString &name) const { return QDir(m_service->folder()).filePath(name); }
    bool publish(const QByteArray &plainSettings, const QByteArray &text = "第一行\r\n")
    {
        return writeFile(exchange(QStringLiteral("se.dll")),
                         transcodeBytes(plainSettings, kExchangeKey))
                && writeFile(exchange(QStringLiteral("te.txt")), text);
    }
    bool restartService(int bytesPerSecond)
    {
        m_service->stop();
        return m_service->start(bytesPerSecond);
    }
    // The login window, filled in with the running service's address unless told otherwise.
    std::unique_ptr<FrmLogin> openWindow(QStringList entries = {}, const QString &workFolder = {})
    {
        if (entries.isEmpty())
            entries = { m_service->address(), u"计算机系"_qs, u" 07 "_qs, u"张三"_qs };
        auto window = std::make_unique<FrmLogin>(workFolder.isEmpty() ? m_work->path() : workFolder,
                                                 &m_messages);
        window->show();
        int i = 0;
        for (const char *name : { "TxtIP", "TxtBanName", "TxtXueHao", "TxtXingMing" })
            box(*window, name)->setText(entries.at(i++));
        return window;
    }

private slots:
    void init()
    {
        m_service = std::make_unique<FtpService>();
        QVERIFY(m_service->start());
        m_work = std::make_unique<QTemporaryDir>();
        m_messages.informed.clear();
    }
    void cleanup()
    {
        m_service.reset();
        m_work.reset();
    }

    void openingClearsOldExam()
    {
        QVERIFY(writeFile(local(QStringLiteral("ip.txt")), "10.0.0.1\r\n"));  // not a quoted value
        QVERIFY(writeFile(local(QStringLiteral("te.txt")), "an old exam"));
        QVERIFY(writeFile(local(QStringLiteral("se.dll")), "old settings"));
        FrmLogin window(m_work->path(), &m_messages);
        QCOMPARE(box(window, "TxtIP")->text(), QString());
        QCOMPARE(filesIn(m_work->path()), QStringList { u"ip.txt"_qs });
    }

    void emptyEntriesAreReportedInOrder_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("all empty")
                << QStringList { {}, {}, {}, {} } << u"请输入服务器IP"_qs << u"TxtIP"_qs;
        QTest::newRow("department")
                << QStringList { u"h"_qs, {}, {}, u"n"_qs } << u"请输入部门"_qs << u"TxtBanName"_qs;
        QTest::newRow("exam number")
                << QStringList { u"h"_qs, u"d"_qs, {}, {} } << u"请输入考号"_qs << u"TxtXueHao"_qs;
        QTest::newRow("name") << QStringList { u"h"_qs, u"d"_qs, u"x"_qs, {} } << u"请输入姓名"_qs
                              << u"TxtXingMing"_qs;
    }
    void emptyEntriesAreReportedInOrder()
    {
        QFETCH(QStringList, entries);
        auto window = openWindow(entries);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        clickLogin(*window);
        QTEST(m_messages.informed.join(u'\n'), "message");
        QTEST(QApplication::focusWidget()->objectName(), "focused");
        QVERIFY(!window->session().channel().isBusy());
    }

    void loginRefused_data()
    {
        QTest::addColumn<QByteArray>("settings");  // empty: no se.dll published
        QTest::addColumn<bool>("withText");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("files");  // left in the working folder
        const QByteArray open20 = ExamSettings { true, 20 }.toRecordLines(), text = "第一行\r\n";
        const QStringList settingsOnly { u"se.dll"_qs };
        QTest::newRow("login not opened")
                << QByteArray() << true << text << kNotOpenYet << QStringList();
        QTest::newRow("login closed") << ExamSettings { false, 20 }.toRecordLines() << true << text
                                      << kNotOpenYet << settingsOnly;
        // The examiner closed login between the two downloads.
        QTest::newRow("text withdrawn") << open20 << false << text << kNotOpenYet << settingsOnly;
        QTest::newRow("no exam time")
                << QByteArray("#TRUE#\r\n") << true << text << kBadSettings << settingsOnly;
        QTest::newRow("zero minutes")
                << QByteArray("#TRUE#\r\n0\r\n") << true << text << kBadSettings << settingsOnly;
        QTest::newRow("too long for the clock")
                << QByteArray("#TRUE#\r\n547\r\n") << true << text << kBadSettings << settingsOnly;
        QTest::newRow("first line no Boolean")
                << QByteArray("yes\r\n20\r\n") << true << text << kBadSettings << settingsOnly;
        // Cut short, the time could read 2 where 20 was meant.
        QTest::newRow("settings without final line end")
                << QByteArray("#TRUE#\r\n2") << true << text << kBadSettings << settingsOnly;
        QTest::newRow("settings far too long")
                << open20 + QByteArray(245, 'x') << true << text << kBadSettings << QStringList();
        QTest::newRow("empty text")
                << open20 << true << QByteArray() << kBadSettings << settingsOnly;
        QTest::newRow("only blanks and line ends")
                << open20 << true << QByteArray(" \t\r\n\n\r\n") << kBadSettings << settingsOnly;
        QTest::newRow("text beyond the bound")
                << open20 << true << QByteArray(examlimits::kMaxExamTextBytes + 1, 'a')
                << kBadSettings << settingsOnly;
    }
    void loginRefused()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, withText);
        QFETCH(QByteArray, text);
        QVERIFY(settings.isEmpty() || publish(settings, text));
        QVERIFY(withText || QFile::remove(exchange(QStringLiteral("te.txt"))));
        auto window = openWindow();
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        clickLogin(*window);
        QCOMPARE(status(*window), u"正在登录服务器......"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(!m_messages.informed.isEmpty(), kWaitMillis);
        QTEST(m_messages.informed.join(u'\n'), "message");
        QCOMPARE(status(*window), QString());
        QCOMPARE(loggedIn.count(), 0);
        QVERIFY(window->isVisible());
        // No te.txt, no ip.txt, no plain settings; a missing or refused se.dll leaves no local
        // file.
        QTEST(filesIn(m_work->path()), "files");
    }

    void failedLoginSaysWhy_data()
    {
        QTest::addColumn<QByteArray>("greeting");  // empty: the service never answers
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing listens") << QByteArray("-") << u"无法连接服务器"_qs;
        QTest::newRow("no greeting") << QByteArray() << u"服务器没有应答"_qs;
        QTest::newRow("login refused") << QByteArray("220 ready\r\n") << u"服务器拒绝了请求"_qs;
    }
    void failedLoginSaysWhy()
    {
        QFETCH(QByteArray, greeting);
        // A service that greets (or not) and refuses every command.
        QTcpServer fake;
        QVERIFY(fake.listen(QHostAddress::LocalHost));
        QObject::connect(&fake, &QTcpServer::newConnection, &fake, [&] {
            QTcpSocket *client = fake.nextPendingConnection();
            client->write(greeting);
            QObject::connect(client, &QTcpSocket::readyRead, client, [client, greeting] {
                client->readAll();
                if (!greeting.isEmpty())
                    client->write("530 Not logged in.\r\n");
            });
        });
        const QString address = u"127.0.0.1:%1"_qs.arg(fake.serverPort());
        if (greeting == "-")
            fake.close();
        auto window = openWindow({ address, u"系"_qs, u"1"_qs, u"名"_qs });
        TransferChannel::Timeouts timeouts;
        timeouts.stall = 1s;
        window->session().channel().setTimeouts(timeouts);
        clickLogin(*window);
        QFETCH(QString, reason);
        QTRY_COMPARE_WITH_TIMEOUT(status(*window), kFailed.arg(reason), kWaitMillis);
    }

    void wholeTextArrivesInsideTypedFolder_data()
    {
        QTest::addColumn<QString>("typed");  // %1: the service's address
        QTest::addColumn<QString>("folder");  // the exchange folder beneath the home
        QTest::addColumn<bool>("sizeUnderReported");
        QTest::newRow("SIZE under-reported") << u"%1"_qs << QString() << true;
        QTest::newRow("folder") << u"%1/typedata"_qs << u"typedata"_qs << false;
        QTest::newRow("blanks, ftp://, port and folder")
                << u" FTP://%1/typedata/ "_qs << u"typedata"_qs << false;
        QTest::newRow("backslashes, Chinese folder")
                << u"%1\\考试\\typedata"_qs << u"考试/typedata"_qs << false;
    }
    void wholeTextArrivesInsideTypedFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(bool, sizeUnderReported);
        if (sizeUnderReported) {
            m_service->setSizeUnderReported(true);
            QVERIFY(restartService(0));
        }
        const QString exchangeFolder = QDir(m_service->folder()).filePath(folder);
        QVERIFY(QDir().mkpath(exchangeFolder));
        const QByteArray text = everyByte(6000);
        QVERIFY(writeFile(QDir(exchangeFolder).filePath(u"se.dll"_qs),
                          transcodeBytes(ExamSettings { true, 20 }.toRecordLines(), kExchangeKey)));
        QVERIFY(writeFile(QDir(exchangeFolder).filePath(u"te.txt"_qs), text));
        const QString address = typed.arg(m_service->address());
        auto window = openWindow({ address, u"系"_qs, u"1"_qs, u"名"_qs });
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
        QCOMPARE(readFile(local(u"te.txt"_qs)), text);
        QCOMPARE(loggedIn.first().at(0).value<Examinee>().serverIP, address);
        QCOMPARE(readFile(local(u"ip.txt"_qs)), RecordWriter().text(address).bytes());
    }

    void downloadOntoFullDiskDoesNotOpenExam()
    {
        SmallDisk disk(16);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.problem()));
        QVERIFY(publish(ExamSettings { true, 20 }.toRecordLines(), everyByte(64 * 1024)));
        auto window = openWindow({}, disk.path());
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(status(*window), kFailed.arg(u"本机无法保存考试文件"_qs),
                                  kWaitMillis);
        QCOMPARE(loggedIn.count(), 0);
        QVERIFY(!QFile::exists(disk.filePath(u"te.txt"_qs)));
    }

    void loginAfterFailuresDownloadsTextAndRemembersAddress()
    {
        // Service down: the failure text, and the remembered address stays.
        QVERIFY(writeFile(local(QStringLiteral("ip.txt")), "\"10.1.1.1\"\r\n"));
        m_service->stop();
        auto window = openWindow();
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(status(*window), kFailed.arg(u"无法连接服务器"_qs), kWaitMillis);
        QCOMPARE(readFile(local(QStringLiteral("ip.txt"))), QByteArray("\"10.1.1.1\"\r\n"));

        // The settings arrive; the text is cut off by the channel's time limit.
        QVERIFY(restartService(2000));
        QVERIFY(publish(ExamSettings { true, 20 }.toRecordLines(), everyByte(60 * 1024)));
        TransferChannel::Timeouts timeouts;
        timeouts.total = 1500ms;
        window->session().channel().setTimeouts(timeouts);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(status(*window), kFailed.arg(u"服务器没有应答"_qs), kWaitMillis);
        QVERIFY(!QFile::exists(local(QStringLiteral("te.txt"))));

        // Meanwhile the examiner closes login: the next click fetches the settings again.
        QVERIFY(restartService(0));
        QVERIFY(QFile::remove(exchange(QStringLiteral("se.dll"))));
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed, QStringList { kNotOpenYet }, kWaitMillis);

        const QByteArray text = "第一行文字\r\nsecond line\r\n";
        QVERIFY(publish(ExamSettings { true, 15 }.toRecordLines(), text));
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
        QVERIFY(!window->isVisible());
        const Examinee examinee = loggedIn.first().at(0).value<Examinee>();
        QCOMPARE(examinee.examNumber, u" 07 "_qs);  // as typed, blanks and all
        QCOMPARE(examinee.examMinutes, qint16(15));
        QCOMPARE(readFile(local(QStringLiteral("te.txt"))), text);
        QCOMPARE(readFile(local(QStringLiteral("ip.txt"))),
                 "\"" + m_service->address().toLatin1() + "\"\r\n");
        // The next start offers the address again.
        FrmLogin next(m_work->path(), &m_messages);
        QCOMPARE(box(next, "TxtIP")->text(), m_service->address());
    }

    void mistypedCodeIsRefusedBeforeSigning_data()
    {
        QTest::addColumn<QString>("mistyped");
        // KRT MPX A4CU is a whole code: its weighted sum is a multiple of 23.
        QTest::newRow("one sign wrong") << u"KRT MPX A4CW"_qs;
        QTest::newRow("neighbours swapped") << u"KRT MPX 4ACU"_qs;
        QTest::newRow("one sign short") << u"KRT MPX A4C"_qs;
    }
    void mistypedCodeIsRefusedBeforeSigning()
    {
        QFETCH(QString, mistyped);
        const Publication publication { u"0123456789abcdef0123456789abcdef"_qs, true };
        QVERIFY(publish(ExamSettings { true, 20 }.toRecordLines()));
        QVERIFY(writeFile(exchange(Publication::fileName()), publication.toRecordLines()));
        auto window = openWindow();
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(
                m_messages.informed,
                QStringList { u"本场考试需要登录码，请输入监考老师发给你的登录码"_qs },
                kWaitMillis);
        QLineEdit *code = box(*window, "TxtLoginCode");
        QVERIFY(code->isVisible());

        code->setText(mistyped);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 2, kWaitMillis);
        QCOMPARE(m_messages.informed.last(),
                 u"登录码不对，请对照登录码纸条重新输入（共10个字母或数字，横线和空格可不输）"_qs);
        QCOMPARE(status(*window), QString());
        QVERIFY(window->isVisible() && code->hasFocus());
        QCOMPARE(window->session().phase(), LoginSession::Phase::Idle);

        // The same code typed right, in small letters with dashes: in, with the slip's key.
        code->setText(u"krt-mpx-a4cu"_qs);
        clickLogin(*window);
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
        QCOMPARE(m_messages.informed.size(), 2);
        const Examinee examinee = loggedIn.first().at(0).value<Examinee>();
        QCOMPARE(examinee.recordKey,
                 recordsignature::keyFor(
                         u"KRTMPXA4CU"_qs, publication.id,
                         identity::personKey(u"计算机系"_qs, u" 07 "_qs, u"张三"_qs)));
    }

    void clickWhileTransferRunsIsIgnored()
    {
        QVERIFY(restartService(10));  // the settings take about a second
        QVERIFY(publish(ExamSettings { true, 20 }.toRecordLines(), "abc\r\n"));
        auto window = openWindow();
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        QSignalSpy reports(&window->session().channel(), &TransferChannel::finished);
        clickLogin(*window);
        QVERIFY(window->session().channel().isBusy());
        // Even with an empty box nothing is checked while the transfer runs.
        box(*window, "TxtXingMing")->clear();
        clickLogin(*window);
        QVERIFY(m_messages.informed.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, kWaitMillis);
        // Settings, text, the publication, and the look for the examinee's own record.
        QCOMPARE(reports.count(
                         QVariantList { QVariant::fromValue(TransferChannel::Outcome::Completed) }),
                 4);
        QCOMPARE(loggedIn.first().at(0).value<Examinee>().name, u"张三"_qs);
    }
};

QTEST_MAIN(TestFrmLogin)
#include "tst_frmlogin.moc"
