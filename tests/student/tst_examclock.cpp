// The exam clock, the blinking prompt and the desktop's input-method list.
#include "examclock.h"
#include "inputmethods.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestExamClock : public QObject
{
    Q_OBJECT
private slots:
    void countsDownToTheEnd_data();
    void countsDownToTheEnd();
    void progressEveryFifthSecond();
    void runsOnlyOnceAndOnlyWithAUsableTime_data();
    void runsOnlyOnceAndOnlyWithAUsableTime();
    void desktopInputMethods_data();
    void desktopInputMethods();
};

void TestExamClock::countsDownToTheEnd_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ended");
    QTest::newRow("5 at start") << 5 << 0 << u"05 : 00"_qs << false;
    QTest::newRow("5 after 1") << 5 << 1 << u"04 : 59"_qs << false;
    QTest::newRow("5 after 59") << 5 << 59 << u"04 : 01"_qs << false;
    QTest::newRow("5 after 60") << 5 << 60 << u"04 : 00"_qs << false;
    QTest::newRow("5 after 299") << 5 << 299 << u"00 : 01"_qs << false;
    QTest::newRow("5 after 300") << 5 << 300 << u"00 : 00"_qs << true;
    QTest::newRow("10 at start") << 10 << 0 << u"10 : 00"_qs << false;
    QTest::newRow("120 at start") << 120 << 0 << u"120 : 00"_qs << false;
    QTest::newRow("120 after 61") << 120 << 61 << u"118 : 59"_qs << false;
    QTest::newRow("1 after 60") << 1 << 60 << u"00 : 00"_qs << true;
}

void TestExamClock::countsDownToTheEnd()
{
    QFETCH(int, minutes);
    QFETCH(int, ticks);
    ExamClock clock(minutes);
    QSignalSpy timeUp(&clock, &ExamClock::timeUp);
    QVERIFY(clock.start());
    for (int i = 0; i < ticks; ++i)
        clock.tick();
    QTEST(clock.timeText(), "text");
    QFETCH(bool, ended);
    QCOMPARE(timeUp.count(), ended ? 1 : 0);
    QCOMPARE(clock.state(), ended ? ExamClock::State::TimeUp : ExamClock::State::Running);
    QCOMPARE(clock.timePass(), ticks);
    // A stopped clock counts no further.
    clock.tick();
    QCOMPARE(clock.timePass(), ended ? ticks : ticks + 1);
}

void TestExamClock::progressEveryFifthSecond()
{
    ExamClock clock(10);
    QSignalSpy progress(&clock, &ExamClock::progressDue);
    clock.tick();  // waiting: nothing counts
    QCOMPARE(clock.timePass(), 0);
    clock.start();
    for (int i = 1; i <= 4; ++i)
        clock.tick();
    QCOMPARE(progress.count(), 0);
    clock.tick();
    QCOMPARE(progress.count(), 1);
    for (int i = 6; i <= 15; ++i)
        clock.tick();
    QCOMPARE(progress.count(), 3);
}

void TestExamClock::runsOnlyOnceAndOnlyWithAUsableTime_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("runs");
    QTest::newRow("0 would never end") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("546") << 546 << true;
    QTest::newRow("547 beyond the clock") << 547 << false;
    QTest::newRow("negative") << -5 << false;
}

void TestExamClock::runsOnlyOnceAndOnlyWithAUsableTime()
{
    QFETCH(int, minutes);
    QFETCH(bool, runs);
    ExamClock clock(minutes);
    QCOMPARE(clock.start(), runs);
    QCOMPARE(clock.start(), false);
    clock.tick();
    QCOMPARE(clock.timePass(), runs ? 1 : 0);
}

void TestExamClock::desktopInputMethods_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("entries");
    const QString plain = plainKeyboardEntry();
    QTest::newRow("fcitx5")
        << u"fcitx5/profile"_qs
        << QByteArray("[Groups/0]\nName=Default\nDefault Layout=us\n\n"
                      "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                      "[Groups/0/Items/1]\nName=pinyin\nLayout=\n\n"
                      "[Groups/0/Items/2]\nName=wbx\n\n[GroupOrder]\n0=Default\n")
        << QStringList{plain, u"pinyin"_qs, u"wbx"_qs};
    QTest::newRow("fcitx4")
        << u"fcitx/profile"_qs
        << QByteArray("[Profile]\nEnabledIMList=fcitx-keyboard-us:True,pinyin:True,shuangpin:False,wbx:True\n")
        << QStringList{plain, u"pinyin"_qs, u"wbx"_qs};
    QTest::newRow("nothing configured") << QString() << QByteArray() << QStringList{plain};
}

void TestExamClock::desktopInputMethods()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    qunsetenv("QT_IM_MODULE");
    qunsetenv("GTK_IM_MODULE");
    qunsetenv("XMODIFIERS");
    QTemporaryDir home;
    if (!file.isEmpty()) {
        QVERIFY(QDir(home.path()).mkpath(file.section(u'/', 0, 0)));
        QFile profile(home.filePath(file));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write(content);
    }
    DesktopInputMethods methods(home.path());
    QTEST(methods.entries(), "entries");
    methods.activate(methods.entries().size() - 1);
    QCOMPARE(methods.activeIndex(), int(methods.entries().size()) - 1);
    methods.activate(99);
    QCOMPARE(methods.activeIndex(), int(methods.entries().size()) - 1);
}

QTEST_GUILESS_MAIN(TestExamClock)
#include "tst_examclock.moc"
