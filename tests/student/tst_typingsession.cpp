// The comparison, paging, scoring and exam-text rules of the typing window,
// without widgets.
#include "examtext.h"
#include "gbk.h"
#include "scoring.h"
#include "typingsession.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QChar kWide(0x3000);

// Hands the session a typed text the way the typing box would: caret at
// the end unless given.
TypingSession::Step typeText(TypingSession &session, const QString &typed, int caret = -1)
{
    return session.compareTyped(int(typed.size()), caret < 0 ? int(typed.size()) : caret,
                                [&typed](int from) { return typed.mid(from); });
}

}  // namespace

class TestTypingSession : public QObject
{
    Q_OBJECT
private slots:
    void comparesPositionByPosition_data();
    void comparesPositionByPosition();
    void continuationAsksOnlyForNewPositions();
    void overwrittenLastCharacterKeepsItsVerdict();
    void editBeyondTheTargetStartsNoRecompute();
    void followCaret_data();
    void followCaret();
    void examText_data();
    void examText();
    void examTextFromFolder();
    void figures_data();
    void figures();
    void progressTexts();
};

void TestTypingSession::comparesPositionByPosition_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QString>("writeText");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("ascii prefix") << (u"abc"_qs + CRLF) << u"ab"_qs << 2 << 0 << u"ab"_qs << u"  "_qs;
    QTest::newRow("chinese, one wrong")
        << (u"中文"_qs + CRLF) << u"中x"_qs << 1 << 1 << (u"中"_qs + kWide) << (kWide + u"文"_qs);
    QTest::newRow("full-width sign takes the wide blank")
        << (u"，a"_qs + CRLF) << u"xa"_qs << 1 << 1 << (kWide + u"a"_qs) << (u"，"_qs + u" "_qs);
    QTest::newRow("line break matched by CR LF")
        << (u"ab"_qs + CRLF + u"cd"_qs + CRLF) << (u"ab"_qs + CRLF) << 4 << 0
        << (u"ab"_qs + CRLF) << u"    "_qs;
    QTest::newRow("line break missed")
        << (u"ab"_qs + CRLF + u"cd"_qs + CRLF) << u"abcd"_qs << 2 << 2 << u"ab  "_qs
        << (u"  "_qs + CRLF);
    QTest::newRow("past the end counts nothing")
        << (u"ab"_qs + CRLF) << (u"ab"_qs + CRLF + u"zzz"_qs) << 4 << 0 << (u"ab"_qs + CRLF)
        << u"    "_qs;
    QTest::newRow("empty target") << QString() << u"abc"_qs << 0 << 0 << QString() << QString();
}

void TestTypingSession::comparesPositionByPosition()
{
    QFETCH(QString, target);
    QFETCH(QString, typed);
    // Typed one character at a time and all at once must agree.
    TypingSession stepwise(target);
    for (int i = 1; i <= typed.size(); ++i)
        QCOMPARE(typeText(stepwise, typed.left(i)), TypingSession::Step::Continued);
    TypingSession atOnce(target);
    typeText(atOnce, typed);
    for (const TypingSession *session : {&stepwise, &atOnce}) {
        QTEST(session->rightCount(), "right");
        QTEST(session->errorCount(), "wrong");
        QTEST(session->writeText(), "writeText");
        QTEST(session->errorText(), "errorText");
        QCOMPARE(session->typedLen(), int(typed.size()));
        QCOMPARE(session->comparedLen(), int(typed.size()));
    }
}

void TestTypingSession::continuationAsksOnlyForNewPositions()
{
    TypingSession session(QString(100, u'a'));
    typeText(session, QString(50, u'a'));
    int askedFrom = -1;
    session.compareTyped(52, 52, [&](int from) {
        askedFrom = from;
        return QString(2, u'a');
    });
    QCOMPARE(askedFrom, 50);
    QCOMPARE(session.rightCount(), 52);
}

void TestTypingSession::overwrittenLastCharacterKeepsItsVerdict()
{
    TypingSession session(u"abc"_qs + CRLF);
    typeText(session, u"abx"_qs);
    QCOMPARE(session.errorCount(), 1);
    // "x" selected and replaced by "c": same length, caret at the end.
    QCOMPARE(typeText(session, u"abc"_qs), TypingSession::Step::Continued);
    QCOMPARE(session.errorCount(), 1);
    QCOMPARE(session.rightCount(), 2);
    // Backspace and the right character do compare it again.
    typeText(session, u"ab"_qs);
    typeText(session, u"abc"_qs);
    QCOMPARE(session.errorCount(), 0);
    QCOMPARE(session.rightCount(), 3);
}

void TestTypingSession::editBeyondTheTargetStartsNoRecompute()
{
    TypingSession session(u"ab"_qs + CRLF);
    typeText(session, u"xb"_qs + CRLF + u"zzz"_qs);
    // One character deleted after the end of the target: caret 6 > 4.
    QCOMPARE(typeText(session, u"xb"_qs + CRLF + u"zz"_qs, 6), TypingSession::Step::Continued);
    QCOMPARE(session.errorCount(), 1);
    QCOMPARE(session.comparedLen(), 6);
}

void TestTypingSession::followCaret_data()
{
    QTest::addColumn<int>("typedLen");
    QTest::addColumn<int>("topLine");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("newTopLine");
    QTest::newRow("340 stays") << 340 << 0 << 100 << 0;
    QTest::newRow("341 pages to 10") << 341 << 0 << 100 << 10;
    QTest::newRow("341 stops at max") << 341 << 0 << 3 << 3;
    QTest::newRow("page below typing comes back") << 169 << 5 << 100 << 4;
    QTest::newRow("at the page top stays") << 170 << 5 << 100 << 5;
    QTest::newRow("nothing typed, top page") << 0 << 0 << 100 << 0;
}

void TestTypingSession::followCaret()
{
    QFETCH(int, typedLen);
    QFETCH(int, topLine);
    QFETCH(int, max);
    QTEST(TypingSession::followCaret(typedLen, topLine, max), "newTopLine");
}

void TestTypingSession::examText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("three lines, last empty") << QByteArray("ab\r\nc\r\n\r\n") << (u"ab"_qs + CRLF + u"c"_qs + CRLF + CRLF);
    QTest::newRow("no final line end") << QByteArray("ab\r\nc") << (u"ab"_qs + CRLF + u"c"_qs + CRLF);
    QTest::newRow("lone CR ends a line") << QByteArray("ab\rc") << (u"ab"_qs + CRLF + u"c"_qs + CRLF);
    QTest::newRow("lone LF stays") << QByteArray("a\nb\r\n") << (u"a\nb"_qs + CRLF);
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("GBK") << gbk::encode(u"中文，abc"_qs) << (u"中文，abc"_qs + CRLF);
}

void TestTypingSession::examText()
{
    QFETCH(QByteArray, bytes);
    QTEST(examTextFromBytes(bytes), "text");
}

void TestTypingSession::examTextFromFolder()
{
    QTemporaryDir folder;
    QVERIFY(!readExamText(folder.path()).has_value());
    QFile other(folder.filePath(QStringLiteral("TE.TXT")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("x");
    other.close();
    QVERIFY(!readExamText(folder.path()).has_value());
    QFile file(folder.filePath(QStringLiteral("te.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(gbk::encode(u"打字"_qs));
    file.close();
    QCOMPARE(readExamText(folder.path()), std::optional<QString>(u"打字"_qs + CRLF));
}

void TestTypingSession::figures_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("timePass");
    QTest::addColumn<float>("speed");
    QTest::addColumn<float>("accuracy");
    QTest::newRow("150/50 in 300 s") << 150 << 50 << 300 << 30.0f << 75.0f;
    QTest::newRow("100 in 35 s") << 100 << 0 << 35 << 171.43f << 100.0f;
    QTest::newRow("45/5 in 60 s") << 45 << 5 << 60 << 45.0f << 90.0f;
    QTest::newRow("none right") << 0 << 17 << 60 << 0.0f << 0.0f;
    QTest::newRow("no second passed") << 10 << 0 << 0 << 0.0f << 100.0f;
    QTest::newRow("accuracy 0.125 to even") << 1 << 799 << 60 << 1.0f << 0.12f;
}

void TestTypingSession::figures()
{
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, timePass);
    QTEST(scoring::speed(right, timePass), "speed");
    QTEST(scoring::accuracy(right, wrong), "accuracy");
}

void TestTypingSession::progressTexts()
{
    const QLocale c(QLocale::C);
    QCOMPARE(scoring::progressText(30.0f, 75.0f, c),
             u"打字速度：30字／分钟"_qs + QString(10, u' ') + u"正确率：75％"_qs);
    QCOMPARE(scoring::progressText(52.5f, 98.5f, QLocale(QLocale::German)),
             u"打字速度：52,5字／分钟"_qs + QString(10, u' ') + u"正确率：98,5％"_qs);
}

QTEST_GUILESS_MAIN(TestTypingSession)
#include "tst_typingsession.moc"
