// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The client's rules without widgets: comparison, paging, exam text, and
// the exam clock fed tick by tick.
#include "exam/examclock.h"
#include "exam/examtext.h"
#include "exchange/gbk.h"
#include "exam/inputmethods.h"
#include "exam/typingsession.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The typed text as the typing box hands it over, caret at the end; the
// change began where the new text first differs from the previous one.
struct Typist
{
    TypingSession session;
    QString before;

    TypingSession::Step type(const QString &typed)
    {
        int changedFrom = 0;
        while (changedFrom < before.size() && changedFrom < typed.size()
               && before[changedFrom] == typed[changedFrom])
            ++changedFrom;
        before = typed;
        return session.compareTyped(int(typed.size()), int(typed.size()), changedFrom,
                                    [&typed](int from) { return typed.mid(from); });
    }
};

}  // namespace

class TestTypingSession : public QObject
{
    Q_OBJECT
private slots:
    void changeRecomputesFromItsPosition_data()
    {
        QTest::addColumn<QStringList>("steps");  // the box's text after each change
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QString>("writeText");
        QTest::newRow("last character overtyped")
                << QStringList { u"abx"_qs, u"abc"_qs } << 3 << 0 << u"abc"_qs;
        QTest::newRow("middle character overtyped")
                << QStringList { u"xbcd"_qs, u"abcd"_qs } << 4 << 0 << u"abcd"_qs;
        QTest::newRow("right one overtyped wrong")
                << QStringList { u"abc"_qs, u"abz"_qs } << 2 << 1 << u"ab "_qs;
        QTest::newRow("Backspace and retype")
                << QStringList { u"abx"_qs, u"ab"_qs, u"abc"_qs } << 3 << 0 << u"abc"_qs;
        QTest::newRow("insertion shifts the rest")
                << QStringList { u"abcd"_qs, u"aabcd"_qs } << 1 << 4 << u"a    "_qs;
        QTest::newRow("after a line break")
                << QStringList { u"abcd\r\nx"_qs, u"abcd\r\ne"_qs } << 7 << 0 << u"abcd\r\ne"_qs;
    }
    void changeRecomputesFromItsPosition()
    {
        QFETCH(QStringList, steps);
        Typist typist { TypingSession(u"abcd"_qs + CRLF + u"ef"_qs + CRLF), {} };
        for (const QString &step : steps)
            typist.type(step);
        QTEST(typist.session.rightCount(), "right");
        QTEST(typist.session.errorCount(), "wrong");
        QTEST(typist.session.writeText(), "writeText");
    }

    // The console scores a record's whole text at once; the client changed
    // it bit by bit. Both must arrive at the same verdicts.
    void wholeTextScoresAsTheLiveComparison_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<QString>(
                "edits");  // a append, i insert, d delete, o overtype, n line break
        QTest::newRow("appending, line ends") << 1 << u"aaan"_qs;
        QTest::newRow("insertions") << 2 << u"aai"_qs;
        QTest::newRow("deletions") << 3 << u"aad"_qs;
        QTest::newRow("overtyping") << 4 << u"aao"_qs;
        QTest::newRow("all of them") << 5 << u"aaidon"_qs;
    }
    void wholeTextScoresAsTheLiveComparison()
    {
        QFETCH(int, seed);
        QFETCH(QString, edits);
        QRandomGenerator random { quint32(seed) };
        const QString pool = u"春眠不觉晓，处处闻啼鸟。ＡＢ（）abc "_qs;
        QString target;
        for (int i = 0; i < 400; ++i)
            target += i % 40 == 39 ? CRLF : QString(pool[random.bounded(int(pool.size()))]);
        Typist typist { TypingSession(target), {} };
        QString typed;
        for (int step = 0; step < 300; ++step) {
            const QChar edit = edits[random.bounded(int(edits.size()))];
            const int at = typed.isEmpty() ? 0 : random.bounded(int(typed.size()));
            // Mostly the right character, so that verdicts of both kinds arise.
            const int wanted = edit == u'a' ? int(typed.size()) : at;
            const QString key = wanted < target.size() && random.bounded(4) != 0
                    ? QString(target[wanted])
                    : QString(pool[random.bounded(int(pool.size()))]);
            if (edit == u'a')
                typed += key;
            else if (edit == u'i')
                typed.insert(at, key);
            else if (edit == u'd')
                typed.remove(at, 1);
            else if (edit == u'o' && at < typed.size())
                typed[at] = key[0];
            else if (edit == u'n')
                typed.insert(at, CRLF);
            typist.type(typed);
            AnswerComparison whole(target);
            whole.compare(typed);
            const AnswerFigures live =
                    scoreAnswer(typist.session.comparison(), int(typed.size()), 60);
            const AnswerFigures rescored = scoreAnswer(whole, int(typed.size()), 60);
            QCOMPARE(QList<float>({ float(rescored.rightCount), float(rescored.errorCount),
                                    rescored.speed, rescored.accuracy }),
                     QList<float>({ float(live.rightCount), float(live.errorCount), live.speed,
                                    live.accuracy }));
            QCOMPARE(whole.errorText(), typist.session.errorText());
        }
    }

    void followCaretStopsAtTheLastPage() { QCOMPARE(TypingSession::followCaret(341, 0, 3), 3); }

    void examText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("last line empty")
                << QByteArray("ab\r\nc\r\n\r\n") << (u"ab"_qs + CRLF + u"c"_qs + CRLF + CRLF);
        QTest::newRow("no final line end, every kind of break")
                << QByteArray("a\nb\rc\r\nd")
                << (u"a"_qs + CRLF + u"b"_qs + CRLF + u"c"_qs + CRLF + u"d"_qs + CRLF);
        QTest::newRow("LF only, an empty line")
                << QByteArray("ab\n\nc\n") << (u"ab"_qs + CRLF + CRLF + u"c"_qs + CRLF);
        QTest::newRow("CR only") << QByteArray("ab\rc\r") << (u"ab"_qs + CRLF + u"c"_qs + CRLF);
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
        for (int minutes : { 0, 547, -5 })
            QVERIFY(!ExamClock(minutes).start());
    }

    // The system's own list (the Win32 layouts and IMM descriptions on
    // Windows, a running Fcitx 5's engines elsewhere, none without one):
    // every entry has a name to show, and switching never leaves the list.
    void systemInputMethodsHaveNames()
    {
        const auto methods = createSystemInputMethods();
        const QStringList entries = methods->entries();
#ifdef Q_OS_WIN
        QVERIFY(!entries.isEmpty());
#endif
        for (const QString &entry : entries)
            QVERIFY2(!entry.trimmed().isEmpty() && !entry.contains(QChar::ReplacementCharacter),
                     qPrintable(entry));
        for (int index : { -1, int(entries.size()), 0 })
            methods->activate(index);
    }
};

QTEST_GUILESS_MAIN(TestTypingSession)
#include "tst_typingsession.moc"
