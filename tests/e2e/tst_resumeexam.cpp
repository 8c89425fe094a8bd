// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A computer that dies mid-exam, with the client's real windows, the console
// and a real FTP service: the client is killed while typing and the examinee
// logs in again, on the same computer or another, and continues with the text
// and the time left; the console shows one session without a doubt. A
// finished examinee is refused, and 重考 lets one more session in.
#include "consoleroom.h"
#include "fakes.h"
#include "retakeexaminee.h"
#include "ftpservice.h"
#include "testrecords.h"
#include "windows/frmlogin.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

constexpr int kWaitMillis = 20000;

struct Computer
{
    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> boxes = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> typing;

    // Logs in as 甲; the login's outcome: "typing", or the box it showed.
    QString logIn(const QString &server, bool resume)
    {
        boxes->answer = resume;
        FrmLogin login(folder.path(), boxes.get());
        childOf<QLineEdit>(&login, "TxtIP")->setText(server);
        childOf<QLineEdit>(&login, "TxtBanName")->setText(u"一班"_qs);
        childOf<QLineEdit>(&login, "TxtXueHao")->setText(u"01"_qs);
        childOf<QLineEdit>(&login, "TxtXingMing")->setText(u"甲"_qs);
        QSignalSpy loggedIn(&login, &FrmLogin::loggedIn);
        const qsizetype told = boxes->informed.size();
        childOf<QAbstractButton>(&login, "CmdLogin")->click();
        if (!QTest::qWaitFor([&] { return loggedIn.count() || boxes->informed.size() > told; },
                             kWaitMillis))
            return u"timed out"_qs;
        if (!loggedIn.count())
            return boxes->informed.last();
        FrmMainServices services;
        services.inputMethods = std::make_unique<FakeInputMethods>(&activated);
        services.messages = boxes;
        services.runTimers = false;
        services.resume = login.session().resumePoint();
        typing = std::make_unique<FrmMain>(loggedIn.first().first().value<Examinee>(),
                                           folder.path(), std::move(services));
        typing->show();
        return u"typing"_qs;
    }

    bool delivered()
    {
        return QTest::qWaitFor(
                [&] { return typing->upload().state() == ResultUpload::State::Delivered; },
                kWaitMillis);
    }
    void tickTo(int second)
    {
        while (typing->clock().timePass() < second)
            typing->onClockTick();
    }
    QPlainTextEdit *box() const { return childOf<QPlainTextEdit>(typing.get(), "TxtWrite"); }
    void type(const QString &text)
    {
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box(), Qt::Key_Return);
            QTest::keyClicks(box(), lines[i]);
        }
    }
};

// 允许登录 for 5 minutes on a text of 20 lines of ten digits.
bool openExam(const ConsoleRoom &room, console::ConsoleController &console)
{
    const QString article = room.app(u"a.txt"_qs);
    return writeFile(article, QByteArray("0123456789\r\n").repeated(20))
            && console.settings().chooseArticle(article).isEmpty()
            && console.settings().saveSettings(u"5"_qs).isEmpty()
            && console.openLogin().isEmpty()
            // The sessions' clocks are driven ahead of the wall's.
            && backdate(room.app(u"fb.txt"_qs), 3600);
}

}  // namespace

class TestResumeExam : public QObject
{
    Q_OBJECT

private slots:
    void deadComputerResumes_data()
    {
        QTest::addColumn<bool>("writeOnce");
        QTest::addColumn<bool>("sameComputer");
        QTest::addColumn<QString>("question");  // what the second login asks
        QTest::newRow("same computer: from its checkpoint")
                << false << true
                << u"检测到未完成的考试（已用时 0 分 35 秒，已打 12 字），是否继续？\n选“否”将重新开始一次考试，之前那次考试的记录仍会保留，并标明给监考老师。"_qs;
        QTest::newRow("another computer: from the exchange folder")
                << false << false
                << u"检测到未完成的考试（已用时 0 分 30 秒，已打 10 字），是否继续？\n选“否”将重新开始一次考试，之前那次考试的记录仍会保留，并标明给监考老师。"_qs;
        QTest::newRow("another computer, write-once: from the newest ~N")
                << true << false
                << u"检测到未完成的考试（已用时 2 分 0 秒，已打 10 字），是否继续？\n选“否”将重新开始一次考试，之前那次考试的记录仍会保留，并标明给监考老师。"_qs;
    }

    void deadComputerResumes()
    {
        QFETCH(bool, writeOnce);
        QFETCH(bool, sameComputer);
        QFETCH(QString, question);
        ConsoleRoom room;
        FtpService service(room.exchangeFolder);
        service.setWriteOnce(writeOnce);
        QVERIFY(service.start());
        console::ConsoleController console(room.folders());
        QVERIFY(openExam(room, console));
        const auto row = [&] {
            console.collectQuietly();
            console.waitForCollection();
            return console.liveClass().live().rows().value(0);
        };
        const QString refused = u"你已交卷，不能再次考试。如需重考，请联系监考老师。"_qs;

        // 甲 types a line and a bit; the progress record goes out at 30 s
        // (at 120 s on a write-once service), the checkpoint every 5 s.
        Computer first, second;
        QCOMPARE(first.logIn(service.address(), false), u"typing"_qs);
        QVERIFY(first.delivered());
        const QString session = first.typing->records().sessionId();
        QTest::keyClick(first.typing.get(), Qt::Key_Return);
        first.type(u"0123456789\n"_qs);
        first.tickTo(writeOnce ? 30 : 29);
        if (writeOnce)
            QVERIFY(first.delivered());
        first.tickTo(writeOnce ? 120 : 30);
        QVERIFY(first.delivered());
        first.type(u"01"_qs);
        first.tickTo(writeOnce ? 125 : 35);
        // The computer dies: no final record, no goodbye.
        first.typing.reset();

        Computer &again = sameComputer ? first : second;
        QCOMPARE(again.logIn(service.address(), true), u"typing"_qs);
        QCOMPARE(again.boxes->asked.last(), question);
        const int used = again.typing->clock().timePass();
        QCOMPARE(again.typing->clock().remainSecs(), 300 - used);
        QCOMPARE(again.typing->records().sessionId(), session);
        QVERIFY(again.box()->toPlainText().startsWith(u"0123456789\n"_qs));
        QCOMPARE(again.typing->session().errorCount(), 0);
        // Until Enter the prompt says that the exam goes on.
        again.typing->onPromptTick();
        QCOMPARE(childOf<QLabel>(again.typing.get(), "LblInfo")->text(),
                 u"按下回车键继续考试，不会打的汉字请随便打一汉字代替......"_qs);

        // Enter runs the clock again; the rest is typed and the exam ends.
        QTest::keyClick(again.typing.get(), Qt::Key_Return);
        QVERIFY(again.delivered());
        QCOMPARE(again.typing->clock().timePass(), used);
        again.box()->moveCursor(QTextCursor::End);
        again.type(QString(u"0123456789\n"_qs).repeated(20).mid(again.box()->toPlainText().size()));
        again.tickTo(used + 60);
        again.boxes->answer = true;
        QSignalSpy left(again.typing.get(), &FrmMain::examLeft);
        childOf<QAbstractButton>(again.typing.get(), "CmdExit")->click();
        QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, kWaitMillis);
        const float speed = again.typing->speed();
        again.typing.reset();

        // One session, finished, resumed, without a doubt.
        ClassViewRow shown = row();
        QCOMPARE(console.liveClass().live().rows().size(), 1);
        QCOMPARE(stateText(shown.state) + shown.stateNote.left(3), u"已交卷续考于"_qs);
        // The test types as a machine would, all keys at once; that is the
        // one mark it may earn.
        const QStringList doubts =
                shown.doubts.filter(QRegularExpression(u"^(?!按键节奏不像人工输入)"_qs));
        QCOMPARE(doubts.join(u'；'), QString());
        QCOMPARE(float(shown.speed), speed);

        // A finished examinee is refused, on either computer.
        QCOMPARE(second.logIn(service.address(), true), refused);
        QCOMPARE(first.logIn(service.address(), true), refused);

        // 重考, asked by name: exactly one more session.
        QVERIFY(console.retakeOffer(shown).question->contains(u"一班 01 甲"_qs));
        QCOMPARE(retakeExaminee(console, shown), QString());
        QCOMPARE(first.logIn(service.address(), true), u"typing"_qs);
        QVERIFY(first.delivered());
        QVERIFY(first.typing->records().sessionId() != session);
        QTest::keyClick(first.typing.get(), Qt::Key_Return);
        first.tickTo(300);
        QVERIFY(first.delivered());
        first.typing.reset();
        QCOMPARE(second.logIn(service.address(), true), refused);
        shown = row();
        QCOMPARE(console.liveClass().live().rows().size(), 1);
        QCOMPARE(shown.speed, 0.0);
        QCOMPARE(shown.doubts, QStringList());
        QVERIFY(shown.setAside.join(u'；').contains(u"重考前的成绩"_qs));
    }

    // The examinee kills the client and edits its checkpoint to win time
    // back: time used 0, resume count -1, sequence +10. However the client
    // takes it, the console marks the session.
    void tamperedCheckpointIsMarked()
    {
        ConsoleRoom room;
        FtpService service(room.exchangeFolder);
        QVERIFY(service.start());
        console::ConsoleController console(room.folders());
        QVERIFY(openExam(room, console));
        Computer computer;
        QCOMPARE(computer.logIn(service.address(), false), u"typing"_qs);
        QVERIFY(computer.delivered());
        QTest::keyClick(computer.typing.get(), Qt::Key_Return);
        computer.type(u"0123456789\n"_qs);
        computer.tickTo(30);
        QVERIFY(computer.delivered());
        console.collectQuietly();
        console.waitForCollection();
        computer.tickTo(35);
        computer.typing.reset();

        // Lines 5, 11 and 17 of the record: time used, sequence, resumes.
        const QString checkpoint = QDir(computer.folder.path()).filePath(u"resume.zip"_qs);
        QList<QByteArray> lines = readScrambled(checkpoint).split('\n');
        QCOMPARE(lines.at(4), QByteArray("35\r"));
        lines[4] = "0\r";
        lines[10] = QByteArray::number(lines.at(10).trimmed().toInt() + 10) + '\r';
        QCOMPARE(lines.at(16), QByteArray("0\r"));
        lines[16] = "-1\r";
        QVERIFY(writeScrambled(checkpoint, lines.join('\n')));

        // The client cannot tell its own folder's edit without codes: it
        // resumes, and the console, collecting every few seconds, sees the
        // record it sends on going on.
        if (computer.logIn(service.address(), true) == u"typing"_qs) {
            QTest::keyClick(computer.typing.get(), Qt::Key_Return);
            QVERIFY(computer.delivered());
            console.collectQuietly();
            console.waitForCollection();
            computer.tickTo(60);
            QVERIFY(computer.delivered());
            computer.typing.reset();
        }
        console.collectQuietly();
        console.waitForCollection();
        const ClassViewRow row = console.liveClass().live().rows().value(0);
        const QString doubts = row.doubts.join(u'\n');
        QVERIFY2(doubts.contains(u"用时从30秒退回到0秒"_qs), qPrintable(doubts));
        QVERIFY2(doubts.contains(u"记录序号从2跳到"_qs), qPrintable(doubts));
    }
};

QTEST_MAIN(TestResumeExam)
#include "tst_resumeexam.moc"
