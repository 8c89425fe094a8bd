// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console watching a class live through a real FTP service: examinees
// upload records with progress lines through the real result upload, the
// console's collection clock is ticked by hand, and the grid, the counts and
// the marks are read as the examiner sees them.
#include "childwidget.h"
#include "fakes.h"
#include "ftpservice.h"
#include "exchange/publication.h"
#include "testfiles.h"
#include "transfer/resultupload.h"
#include "workbook.h"

#include "class/classtablemodel.h"
#include "watchedconsole.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int kWaitMillis = 20000;
// 90 lines of ten signs, each line ending in CR LF as the client counts it.
constexpr qint32 kTextLength = 90 * 12;

struct Pupil
{
    Examinee who;
    QString session;
    std::unique_ptr<ResultUpload> upload;
    int sequence = 0;
};

// The console with login open for a 10-minute exam over a real service.
struct LiveRoom
{
    FtpService service;
    QTemporaryDir consoleFolder, clientFolder;
    FakeMessages boxes;
    QStringList &messages = boxes.informed;
    QString rosterPath;
    QList<QUrl> opened;
    std::unique_ptr<WatchedConsole> console;
    std::vector<std::unique_ptr<Pupil>> pupils;

    bool open()
    {
        if (!service.start())
            return false;
        QDir(consoleFolder.path()).mkpath(QStringLiteral("article"));
        const QString article = consoleFolder.filePath(QStringLiteral("article/a.txt"));
        QFile file(article);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QByteArray("0123456789\r\n").repeated(90)) < 0)
            return false;
        file.close();
        ConsoleHooks hooks;
        hooks.chooseArticle = [article](QWidget *, const QString &) { return article; };
        hooks.chooseRoster = [this](QWidget *, const QString &) { return rosterPath; };
        hooks.openUrl = [this](const QUrl &url) {
            opened << url;
            return true;
        };
        console = std::make_unique<WatchedConsole>(
                console::ConsoleFolders {
                        consoleFolder.path(), consoleFolder.path(), service.folder(),
                        consoleFolder.filePath(QStringLiteral("cj.mdb")), consoleFolder.path() },
                hooks, &boxes);
        console->show();
        click("set");
        click("CmdChFile");
        childOf<QComboBox>(console.get(), "CmbTestTime")->setEditText(QStringLiteral("10"));
        click("CmdSave");
        click("BeginStop");
        return messages.isEmpty();
    }

    void click(const char *name) { childOf<QAbstractButton>(console.get(), name)->click(); }
    // One tick of the console's collection clock, and its result shown.
    void collect()
    {
        console->controller().collectQuietly();
        console->controller().waitForCollection();
    }

    Pupil &join(const QString &number, const QString &name, const QString &session)
    {
        auto pupil = std::make_unique<Pupil>();
        pupil->who = { service.address(), QStringLiteral("一班"), number, name, 10 };
        pupil->session = session;
        const QString folder = clientFolder.filePath(session + number);
        QDir().mkpath(folder);
        pupil->upload = std::make_unique<ResultUpload>(folder);
        pupils.push_back(std::move(pupil));
        return *pupils.back();
    }

    // Uploads the pupil's next record and waits until it is in the folder.
    // `as` names the file after another examinee.
    bool send(Pupil &pupil, ResultProgress::Phase phase, qint32 typed, float speed, qint16 seconds,
              float accuracy = 98, qint32 target = kTextLength, const Examinee *as = nullptr)
    {
        const ResultRecord record { speed,
                                    accuracy,
                                    seconds,
                                    target,
                                    typed,
                                    pupil.who.department,
                                    pupil.who.examNumber,
                                    pupil.who.name,
                                    ResultProgress { ++pupil.sequence, pupil.session, phase,
                                                     typed } };
        pupil.upload->save(record, as ? *as : pupil.who);
        return QTest::qWaitFor(
                [&] { return pupil.upload->state() == ResultUpload::State::Delivered; },
                kWaitMillis);
    }

    // Each row as "name:state:progress", in the grid's order.
    QStringList view() const
    {
        const QAbstractItemModel *model = childOf<QTableView>(console.get(), "DataGrid1")->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            rows << QStringList { model->index(row, ClassTableModel::Name).data().toString(),
                                  model->index(row, ClassTableModel::State).data().toString(),
                                  model->index(row, ClassTableModel::Progress).data().toString() }
                            .join(u':');
        }
        return rows;
    }

    QString doubtsOf(const QString &name) const
    {
        const QAbstractItemModel *model = childOf<QTableView>(console.get(), "DataGrid1")->model();
        QString doubts;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, ClassTableModel::Name).data().toString() == name)
                doubts +=
                        model->index(row, ClassTableModel::State).data(Qt::ToolTipRole).toString();
        }
        return doubts;
    }

    QString counts() const
    {
        // A line cut short to fit is read whole in its tooltip's first line.
        const auto *live = childOf<QLabel>(console.get(), "LblLiveCounts");
        return childOf<QLabel>(console.get(), "LblRenShu")->text() + u' '
                + (live->text().endsWith(u'…') ? live->toolTip().section(u'\n', 0, 0)
                                               : live->text());
    }
};

using Phase = ResultProgress::Phase;

// An examinee at a real typing window, its clock ticked by hand; te.txt is
// in its folder as the login leaves it.
struct Desk
{
    QTemporaryDir folder;
    std::shared_ptr<FakeMessages> messages = std::make_shared<FakeMessages>();
    QList<int> activated;
    std::unique_ptr<FrmMain> window;

    Desk(const Examinee &who, const QString &publishedText)
    {
        if (!QFile::copy(publishedText, folder.filePath(QStringLiteral("te.txt"))))
            qFatal("cannot copy te.txt");
        FrmMainServices services;
        services.inputMethods = std::make_unique<FakeInputMethods>(&activated);
        services.messages = messages;
        services.runTimers = false;
        window = std::make_unique<FrmMain>(who, folder.path(), std::move(services));
    }

    // Runs `step` and waits until the record it leads to is in the folder.
    bool delivers(const std::function<void()> &step)
    {
        int delivered = 0;
        const auto connection = QObject::connect(
                &window->upload(), &ResultUpload::stateChanged, [&](ResultUpload::State state) {
                    delivered += state == ResultUpload::State::Delivered;
                });
        step();
        const bool arrived = QTest::qWaitFor([&] { return delivered > 0; }, kWaitMillis);
        QObject::disconnect(connection);
        return arrived;
    }

    void tick(int seconds)
    {
        for (int i = 0; i < seconds; ++i)
            window->onClockTick();
    }
    QPlainTextEdit *box() const { return childOf<QPlainTextEdit>(window.get(), "TxtWrite"); }
};

}  // namespace

class TestLiveClass : public QObject
{
    Q_OBJECT

private slots:
    void phasesInTurnWithClassList()
    {
        LiveRoom room;
        QVERIFY2(room.open(), qPrintable(room.messages.join(u'\n')));
        QVERIFY(room.console->controller().collectClock().isActive());
        QCOMPARE(room.console->controller().collectClock().interval(), 5000);

        room.rosterPath = room.consoleFolder.filePath(QStringLiteral("名单.csv"));
        QFile roster(room.rosterPath);
        QVERIFY(roster.open(QIODevice::WriteOnly));
        roster.write(
                u"部门,考号,姓名\n一班,01,甲\n一班,02,乙\n一班,03,丙\n一班,04,丁\n"_qs.toUtf8());
        roster.close();
        room.click("roster");
        room.console->controller().liveClass().waitForRoster();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:未登录:"_qs, u"乙:未登录:"_qs, u"丙:未登录:"_qs,
                                u"丁:未登录:"_qs }));
        QCOMPARE(room.counts(), u"0 · 答题中 0 · 已交卷 0 · 未开始 0 · 未登录 4"_qs);

        Pupil &jia = room.join(u"01"_qs, u"甲"_qs, u"s-jia"_qs);
        Pupil &yi = room.join(u"02"_qs, u"乙"_qs, u"s-yi"_qs);
        Pupil &bing = room.join(u"03"_qs, u"丙"_qs, u"s-bing"_qs);
        Pupil &stranger = room.join(u"99"_qs, u"戊"_qs, u"s-wu"_qs);
        Pupil &impostor = room.join(u"03"_qs, u"冒名"_qs, u"s-mao"_qs);
        for (Pupil *pupil : { &jia, &yi, &bing, &impostor })
            QVERIFY(room.send(*pupil, Phase::Waiting, 0, 0, 0));
        room.collect();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:未开始:0%"_qs, u"乙:未开始:0%"_qs, u"丙:未开始:0%"_qs,
                                u"冒名:存疑:0%"_qs, u"丁:未登录:"_qs }));
        QVERIFY(room.doubtsOf(u"冒名"_qs).contains(u"考号03在名单中是丙"_qs));
        QCOMPARE(room.counts(), u"4 · 答题中 0 · 已交卷 0 · 未开始 3 · 未登录 1"_qs);

        QVERIFY(room.send(jia, Phase::Typing, 540, 250, 120));
        QVERIFY(room.send(yi, Phase::Typing, 108, 100, 60));
        QVERIFY(room.send(stranger, Phase::Typing, 216, 200, 60));
        room.collect();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:答题中:50%"_qs, u"戊:存疑:20%"_qs, u"乙:答题中:10%"_qs,
                                u"丙:未开始:0%"_qs, u"冒名:存疑:0%"_qs, u"丁:未登录:"_qs }));
        QVERIFY2(room.doubtsOf(u"戊"_qs).contains(u"考号99不在名单中"_qs),
                 qPrintable(room.doubtsOf(u"戊"_qs)));
        QCOMPARE(room.counts(), u"5 · 答题中 3 · 已交卷 0 · 未开始 1 · 未登录 1"_qs);

        QVERIFY(room.send(jia, Phase::Finished, 1080, 270, 240));
        QVERIFY(room.send(yi, Phase::Finished, 300, 28, 600));
        QVERIFY(room.send(bing, Phase::Typing, 324, 200, 90));
        room.collect();
        // The crafted finished records carry no sheet, as no current client
        // hands a result in: both are marked.
        QCOMPARE(room.view(),
                 (QStringList { u"甲:存疑:100%"_qs, u"丙:答题中:30%"_qs, u"戊:存疑:20%"_qs,
                                u"乙:存疑:28%"_qs, u"冒名:存疑:0%"_qs, u"丁:未登录:"_qs }));
        QVERIFY(room.doubtsOf(u"甲"_qs).contains(u"答卷缺失或已损坏"_qs));
        QCOMPARE(room.counts(), u"5 · 答题中 2 · 已交卷 2 · 未开始 0 · 未登录 1"_qs);
        QVERIFY(room.messages.isEmpty());

        // The export carries the marks in a column of their own, and the
        // listed examinee who never logged in as 缺考; the title says that
        // some still type.
        room.click("CmdOutToExl");
        QCOMPARE(room.opened.size(), 1);
        const QStringList cells = workbookRows(room.opened.first().toLocalFile());
        QCOMPARE(cells.size(), 14);
        QVERIFY2(cells.at(0).startsWith(u"str:打字考试成绩表　"_qs)
                         && cells.at(0).contains(u"（考试进行中，2人正在答题）|"_qs),
                 qPrintable(cells.at(0)));
        QVERIFY2(cells.at(1).endsWith(u"|str:状态|str:名次|str:存疑"_qs), qPrintable(cells.at(1)));
        // After the seven columns, 等级 and 得分, then 状态 and 名次: a row
        // in doubt has no place until the examiner judged it.
        QCOMPARE(cells.at(4).section(u'|', 9), u"str:存疑||str:考号99不在名单中"_qs);
        QVERIFY(cells.at(5).section(u'|', 9).startsWith(u"str:存疑||"_qs));
        QCOMPARE(cells.at(6).section(u'|', 9), u"str:存疑||str:考号03在名单中是丙"_qs);
        QCOMPARE(cells.at(7), u"str:一班|str:04|str:丁|||||||str:缺考||"_qs);
        // On paper the four reasons follow the table as notes.
        QCOMPARE(cells.at(11), u"str:注2　99 戊：考号99不在名单中|||||||||||"_qs);

        room.click("BeginStop");
        QVERIFY(!room.console->controller().collectClock().isActive());
    }

    void typingWindowsShowEachPhase()
    {
        LiveRoom room;
        QVERIFY2(room.open(), qPrintable(room.messages.join(u'\n')));
        const QString published = QDir(room.service.folder()).filePath(QStringLiteral("te.txt"));
        // What a desk's login would have read.
        const Publication publication =
                Publication::fromRecordLines(
                        readFile(QDir(room.service.folder()).filePath(Publication::fileName())))
                        .value_or(Publication {});
        std::vector<std::unique_ptr<Desk>> desks;
        for (const auto &[number, name] :
             { std::pair { u"01"_qs, u"甲"_qs }, { u"02"_qs, u"乙"_qs }, { u"03"_qs, u"丙"_qs } }) {
            desks.push_back(std::make_unique<Desk>(Examinee { room.service.address(),
                                                              u"一班"_qs,
                                                              number,
                                                              name,
                                                              10,
                                                              publication,
                                                              {},
                                                              {} },
                                                   published));
            Desk &desk = *desks.back();
            QVERIFY(desk.delivers([&] { desk.window->show(); }));
        }
        Desk &jia = *desks[0], &yi = *desks[1];
        room.collect();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:未开始:0%"_qs, u"乙:未开始:0%"_qs, u"丙:未开始:0%"_qs }));
        QCOMPARE(room.counts(), u"3 · 答题中 0 · 已交卷 0"_qs);

        // 甲 types 54 signs at a person's pace (keys all at once would be
        // marked as machine typing); half a minute later the progress
        // record goes out.
        constexpr int kKeyMillis = 60;
        QTest::keyClick(jia.window.get(), Qt::Key_Return);
        QTest::keyClicks(jia.box(), QStringLiteral("0123456789"), Qt::NoModifier, kKeyMillis);
        for (int line = 0; line < 4; ++line) {
            QTest::keyClick(jia.box(), Qt::Key_Return, Qt::NoModifier, kKeyMillis);
            QTest::keyClicks(jia.box(), QStringLiteral("0123456789"), Qt::NoModifier, kKeyMillis);
        }
        QVERIFY(jia.delivers([&] { jia.tick(30); }));
        room.collect();
        // The desks' clocks are driven by hand, so every key lands on one
        // instant: the keystrokes read as a machine's, and 甲's row says so.
        QCOMPARE(room.doubtsOf(u"甲"_qs).count(u"按键节奏不像人工输入"_qs), 1);
        QCOMPARE(room.view(),
                 (QStringList { u"甲:存疑:5%"_qs, u"乙:未开始:0%"_qs, u"丙:未开始:0%"_qs }));
        QCOMPARE(room.counts(), u"3 · 答题中 1 · 已交卷 0"_qs);

        // 乙 types a line and its time runs out; then 甲's.
        QTest::keyClick(yi.window.get(), Qt::Key_Return);
        QTest::keyClicks(yi.box(), QStringLiteral("0123456789"));
        QVERIFY(yi.delivers([&] { yi.tick(600); }));
        room.collect();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:存疑:5%"_qs, u"乙:存疑:1%"_qs, u"丙:未开始:0%"_qs }));
        QCOMPARE(room.counts(), u"3 · 答题中 1 · 已交卷 1"_qs);
        QVERIFY(jia.delivers([&] { jia.tick(570); }));
        room.collect();
        QCOMPARE(room.view(),
                 (QStringList { u"甲:存疑:5%"_qs, u"乙:存疑:1%"_qs, u"丙:未开始:0%"_qs }));
        QCOMPARE(room.counts(), u"3 · 答题中 0 · 已交卷 2"_qs);
        // Honest clients pass every check but those a hand-driven clock
        // brings: keys on one instant, and records sent faster than time
        // passes.
        const QRegularExpression clockArtifacts(
                u"^(已交卷|答题中|未开始)，?(存疑：)?$|^按键节奏不像人工输入|^记录序号从|^考生端计时偏快"_qs);
        for (const QString &name : { u"甲"_qs, u"乙"_qs, u"丙"_qs }) {
            QStringList lines = room.doubtsOf(name).split(u'\n', Qt::SkipEmptyParts);
            lines.removeIf(
                    [&](const QString &line) { return clockArtifacts.match(line).hasMatch(); });
            QVERIFY2(lines.isEmpty(), qPrintable(room.doubtsOf(name)));
        }
    }

    void gridGrowsWithTheWindow()
    {
        LiveRoom room;
        QVERIFY(room.open());
        WatchedConsole &window = *room.console;
        QCOMPARE(window.size(), QSize(672, 503));
        QCOMPARE(window.minimumSize(), window.size());
        QVERIFY(window.windowFlags() & Qt::WindowMaximizeButtonHint);
        auto *grid = childOf<QTableView>(&window, "DataGrid1");
        auto *counts = childOf<QWidget>(&window, "FrameCJ1");
        const QRect gridBefore = grid->geometry();
        const QRect countsBefore = counts->geometry();
        window.resize(1000, 700);
        QCOMPARE(grid->size(), gridBefore.size() + QSize(328, 197));
        QCOMPARE(counts->geometry(), countsBefore.translated(0, 197).adjusted(0, 0, 328, 0));
        QVERIFY(childOf<QWidget>(&window, "CmdOutToExl")->geometry().right() < counts->width());
    }

    void craftedRecordsAreMarked_data()
    {
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("trick");  // "", "file", "session", "retyped", "change"
        QTest::addColumn<QString>("doubt");  // empty: no mark
        // The crafted records carry progress lines but no sheet, which no
        // current client hands a result in without.
        QTest::newRow("plausible figures, no sheet")
                << 99.5f << 98.f << 600 << kTextLength << QString() << u"答卷缺失或已损坏"_qs;
        QTest::newRow("at the grace's end, no sheet")
                << 98.f << 98.f << 610 << kTextLength << QString() << u"答卷缺失或已损坏"_qs;
        QTest::newRow("faster than typed") << 120.f << 98.f << 600 << kTextLength << QString()
                                           << u"速度120超过打字数1000和用时600秒所能达到的100"_qs;
        QTest::newRow("largest single")
                << 3.4e38f << 98.f << 600 << kTextLength << QString() << u"速度3.4e+38超过"_qs;
        QTest::newRow("negative speed")
                << -5.f << 98.f << 600 << kTextLength << QString() << u"速度-5不是有效的数"_qs;
        QTest::newRow("accuracy over 100") << 99.5f << 100.5f << 600 << kTextLength << QString()
                                           << u"正确率100.5不在0到100之间"_qs;
        QTest::newRow("time past the exam") << 90.f << 98.f << 611 << kTextLength << QString()
                                            << u"用时611秒不在0到600秒之间"_qs;
        QTest::newRow("negative time")
                << 0.f << 98.f << -3 << kTextLength << QString() << u"用时-3秒"_qs;
        QTest::newRow("other text length") << 99.5f << 98.f << 600 << kTextLength + 1 << QString()
                                           << u"原文字数1081与发布的考试内容1080不同"_qs;
        QTest::newRow("another's file") << 99.5f << 98.f << 600 << kTextLength << u"file"_qs
                                        << u"文件名一班-02-乙.zip与部门、考号、姓名不符"_qs;
        QTest::newRow("second login") << 99.5f << 98.f << 600 << kTextLength << u"session"_qs
                                      << u"同一考生有2次登录考试的成绩文件"_qs;
        // Typed another way, the second login is no second session of the
        // first spelling: each row names the other.
        QTest::newRow("second login, number typed full-width")
                << 99.5f << 98.f << 600 << kTextLength << u"retyped"_qs
                << u"同一考生另有写法不同的成绩：一班 ０１  甲"_qs;
        QTest::newRow("changed after finishing")
                << 99.5f << 98.f << 600 << kTextLength << u"change"_qs << u"交卷后成绩又被改动"_qs;
    }

    void craftedRecordsAreMarked()
    {
        QFETCH(float, speed);
        QFETCH(float, accuracy);
        QFETCH(int, seconds);
        QFETCH(int, target);
        QFETCH(QString, trick);
        QFETCH(QString, doubt);
        LiveRoom room;
        QVERIFY2(room.open(), qPrintable(room.messages.join(u'\n')));
        Pupil &jia = room.join(u"01"_qs, u"甲"_qs, u"s1"_qs);
        const Examinee other {
            room.service.address(), u"一班"_qs, u"02"_qs, u"乙"_qs, 10, {}, {}, {}
        };
        QVERIFY(room.send(jia, Phase::Finished, 1000, speed, qint16(seconds), accuracy, target,
                          trick == u"file" ? &other : nullptr));
        room.collect();
        if (trick == u"session" || trick == u"retyped") {
            Pupil &again =
                    room.join(trick == u"session" ? u"01"_qs : u"０１ "_qs, u"甲"_qs, u"s2"_qs);
            QVERIFY(room.send(again, Phase::Waiting, 0, 0, 0));
        } else if (trick == u"change") {
            QVERIFY(room.send(jia, Phase::Finished, 1000, speed + 10, qint16(seconds), accuracy,
                              target));
        }
        room.collect();
        const QString doubts = room.doubtsOf(u"甲"_qs);
        QVERIFY2(doubt.isEmpty() ? doubts.isEmpty() : doubts.contains(doubt), qPrintable(doubts));
        QCOMPARE(room.view().first().section(u':', 1, 1),
                 doubt.isEmpty() ? u"已交卷"_qs : u"存疑"_qs);
    }
};

QTEST_MAIN(TestLiveClass)
#include "tst_liveclass.moc"
