// The client's rules without widgets: comparison, paging, exam text, and
// the exam clock fed tick by tick.
#include "examclock.h"
#include "examtext.h"
#include "gbk.h"
#include "typingsession.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The typed text as the typing box hands it over, caret at the end.
TypingSession::Step typeText(TypingSession &session, const QString &typed)
{
    return session.compareTyped(int(typed.size()), int(typed.size()), [&typed](int from) { return typed.mid(from); });
}

}  // namespace

class TestTypingSession : public QObject
{
    Q_OBJECT
private slots:
    void overwrittenLastCharacterKeepsItsVerdict()
    {
        TypingSession session(u"abc"_qs + CRLF);
        typeText(session, u"abx"_qs);
        // "x" selected and replaced by "c": same length, so the verdict stays.
        QCOMPARE(typeText(session, u"abc"_qs), TypingSession::Step::Continued);
        QCOMPARE(session.errorCount(), 1);
        typeText(session, u"ab"_qs);
        typeText(session, u"abc"_qs);
        QCOMPARE(session.errorCount(), 0);
        QCOMPARE(session.rightCount(), 3);
    }

    void followCaretStopsAtTheLastPage() { QCOMPARE(TypingSession::followCaret(341, 0, 3), 3); }

    void examText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("last line empty") << QByteArray("ab\r\nc\r\n\r\n") << (u"ab"_qs + CRLF + u"c"_qs + CRLF + CRLF);
        QTest::newRow("no final line end") << QByteArray("a\nb\rc") << (u"a\nb"_qs + CRLF + u"c"_qs + CRLF);
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("GBK") << gbk::encode(u"中文，abc"_qs) << (u"中文，abc"_qs + CRLF);
    }
    void examText()
    {
        QFETCH(QByteArray, bytes);
        QTEST(examTextFromBytes(bytes), "text");
    }

    void clockCountsDownToTheEnd_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ended");
        QTest::newRow("5 at start") << 5 << 0 << u"05 : 00"_qs << false;
        QTest::newRow("5 after 1") << 5 << 1 << u"04 : 59"_qs << false;
        QTest::newRow("5 after 60") << 5 << 60 << u"04 : 00"_qs << false;
        QTest::newRow("5 after 299") << 5 << 299 << u"00 : 01"_qs << false;
        QTest::newRow("5 after 300") << 5 << 300 << u"00 : 00"_qs << true;
        QTest::newRow("10 at start") << 10 << 0 << u"10 : 00"_qs << false;
        QTest::newRow("120 after 61") << 120 << 61 << u"118 : 59"_qs << false;
        QTest::newRow("546, the longest") << 546 << 0 << u"546 : 00"_qs << false;
    }
    void clockCountsDownToTheEnd()
    {
        QFETCH(int, minutes);
        QFETCH(int, ticks);
        QFETCH(bool, ended);
        ExamClock clock(minutes);
        QSignalSpy timeUp(&clock, &ExamClock::timeUp);
        QSignalSpy progress(&clock, &ExamClock::progressDue);
        clock.tick();  // waiting: nothing counts
        QVERIFY(clock.start());
        QVERIFY(!clock.start());
        for (int i = 0; i < ticks; ++i)
            clock.tick();
        QTEST(clock.timeText(), "text");
        QCOMPARE(timeUp.count(), ended ? 1 : 0);
        QCOMPARE(progress.count(), ticks / 5);
        clock.tick();  // a stopped clock counts no further
        QCOMPARE(clock.timePass(), ended ? ticks : ticks + 1);
    }

    void clockRefusesUnusableTimes()
    {
        // 0 minutes would never end; beyond 546 the clock overflows.
        for (int minutes : {0, 547, -5})
            QVERIFY(!ExamClock(minutes).start());
    }
};

QTEST_GUILESS_MAIN(TestTypingSession)
#include "tst_typingsession.moc"
