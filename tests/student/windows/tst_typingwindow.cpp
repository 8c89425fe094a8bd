// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The typing window driven offscreen: start-up, typing into TxtWrite, paging,
// the start on Enter, and the clock through to the time being up.
#include "fakes.h"
#include "inkrows.h"
#include "exchange/keytimeline.h"
#include "windows/pageview.h"
#include "windows/statuspanel.h"
#include "writtencheckpoint.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>

namespace {

const QString CRLF = QStringLiteral("\r\n");

QScrollBar *vScroll1(const TypingExam &w)
{
    return childOf<QScrollBar>(w.frm.get(), "VScroll1");
}
QString lblInfo(const TypingExam &w)
{
    return childOf<QLabel>(w.frm.get(), "LblInfo")->text();
}
QString layer(const TypingExam &w, const char *name)
{
    return childOf<LayerCaption>(w.frm.get(), name)->text();
}
void startExam(const TypingExam &w)
{
    QTest::keyClick(childOf<QTabWidget>(w.frm.get(), "SSTab1")->tabBar(), Qt::Key_Return);
}

// Types as an examinee would: \n is Enter, \b Backspace, < selects the
// character before the caret, ASCII by key, everything else as an
// input-method commit.
void type(const TypingExam &w, const QString &text)
{
    for (const QChar ch : text) {
        if (ch == u'<') {
            QTest::keyClick(w.txtWrite(), Qt::Key_Left, Qt::ShiftModifier);
        } else if (ch == u'\n' || ch == u'\b') {
            QTest::keyClick(w.txtWrite(), ch == u'\n' ? Qt::Key_Return : Qt::Key_Backspace);
        } else if (ch.unicode() < 128) {
            QTest::keyClick(w.txtWrite(), char(ch.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(ch));
            QApplication::sendEvent(w.txtWrite(), &commit);
        }
    }
}

// count lines of 32 letters, each followed by CR LF.
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
    void statusClockShowsSeconds_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("zh_CN") << QLocale(QLocale::Chinese, QLocale::China);
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    }
    void statusClockShowsSeconds()
    {
        QFETCH(QLocale, locale);
        const QDateTime when(QDate(2026, 12, 7), QTime(9, 5, 7));
        const QString text = statusDateTimeText(when, locale);
        QVERIFY2(text.contains(u"05:07"_qs), qPrintable(text));
        QCOMPARE(statusDateTimeText(when.addSecs(1), locale) == text, false);
    }

    void startUp()
    {
        const QString target = u"春天来了，abc 123。"_qs + CRLF;
        TypingExam w(target);
        QCOMPARE(layer(w, "LblGetText"), target);
        QCOMPARE(childOf<LayerCaption>(w.frm.get(), "LblWrite")->geometry(),
                 childOf<LayerCaption>(w.frm.get(), "LblGetText")->rect());
        QVERIFY(!w.txtWrite()->isEnabled());
        QVERIFY(!childOf<QTabWidget>(w.frm.get(), "SSTab1")->isTabEnabled(1));
        QCOMPARE(w.frm->focusWidget(),
                 childOf<QTabWidget>(w.frm.get(), "SSTab1")->tabBar());  // so Enter starts at once
        // The zero result taken at the end of start-up is on its way.
        QCOMPARE(lblInfo(w), ExamSession::registeringText());
    }

    void missingExamText()
    {
        TypingExam w(std::nullopt);
        QCOMPARE(w.messages->informed, QStringList { u"考试文件不存在"_qs });
        QCOMPARE(vScroll1(w)->maximum(), 0);
        startExam(w);
        type(w, u"ab"_qs);
        QCOMPARE(w.frm->session().rightCount() + w.frm->session().errorCount(), 0);
    }

    void scrollRange_data()
    {
        QTest::addColumn<int>("targetLen");
        QTest::addColumn<int>("max");
        QTest::newRow("374") << 374 << 0;
        QTest::newRow("391") << 391 << 1;
        QTest::newRow("425") << 425 << 1;
    }
    void scrollRange()
    {
        QFETCH(int, targetLen);
        TypingExam w(QString(targetLen - 2, u'x') + CRLF);
        QTEST(vScroll1(w)->maximum(), "max");
        QCOMPARE(vScroll1(w)->pageStep(), 10);
    }

    void typing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("writeText");
        QTest::addColumn<QString>("errorText");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        const QString wide(QChar(0x3000));
        const QString twoLines = u"ab"_qs + CRLF + u"cd"_qs + CRLF;
        QTest::newRow("right and wrong")
                << (u"中文，Ab1!"_qs + CRLF) << u"中x，ab1"_qs << (u"中"_qs + wide + u"， b1"_qs)
                << (wide + u"文"_qs + wide + u"A  "_qs) << 4 << 2;
        QTest::newRow("Enter against a line break")
                << twoLines << u"ab\ncd"_qs << (u"ab"_qs + CRLF + u"cd"_qs) << QString(6, u' ') << 6
                << 0;
        QTest::newRow("te.txt with LF only")
                << u"ab\ncd\n"_qs << u"ab\ncd\n"_qs << (twoLines) << QString(8, u' ') << 8 << 0;
        QTest::newRow("line break missed")
                << twoLines << u"abcd"_qs << u"ab  "_qs << (u"  "_qs + CRLF) << 2 << 2;
        QTest::newRow("Backspace")
                << (u"abcdef"_qs + CRLF) << u"abx\bc"_qs << u"abc"_qs << u"   "_qs << 3 << 0;
        QTest::newRow("selected last character overtyped")
                << (u"abcdef"_qs + CRLF) << u"abx<c"_qs << u"abc"_qs << u"   "_qs << 3 << 0;
        QTest::newRow("past the end")
                << (u"ab"_qs + CRLF) << u"ab\nxyz"_qs << (u"ab"_qs + CRLF) << u"    "_qs << 4 << 0;
    }
    void typing()
    {
        QFETCH(QString, target);
        QFETCH(QString, keys);
        TypingExam w(target);
        startExam(w);
        type(w, keys);
        QTEST(layer(w, "LblWrite"), "writeText");
        QTEST(layer(w, "LblError"), "errorText");
        QTEST(w.frm->session().rightCount(), "right");
        QTEST(w.frm->session().errorCount(), "wrong");
        // The checkpoint at the fifth second carries the timeline; its edits
        // replayed give exactly the record's typed text.
        for (int i = 0; i < 5; ++i)
            w.frm->onClockTick();
        const auto kept = [&w] {
            return writtenCheckpoint(w.frm->records().writer(), w.folder.path());
        };
        // The timeline is encoded on a worker: the checkpoint follows soon.
        QTRY_VERIFY(kept().ok() && kept().record->timePass == 5);
        const auto record = kept();
        const RecordSection *section =
                findSection(record.record->sections, keytimeline::kSectionName);
        QVERIFY(section);
        const auto timeline = keytimeline::decode(section->bytes).timeline;
        QVERIFY(timeline);
        QString replayed = keytimeline::replayed(timeline->edits).value_or(u"?"_qs);
        replayed.replace(u'\n', CRLF);
        QCOMPARE(replayed, record.record->answerSheet->typedText);
        QVERIFY(!record.record->answerSheet->typedText.isEmpty());
    }

    // Typing repaints only the characters it changed; what is on the screen
    // must still be what a whole repaint of the page draws.
    void pageRepaintedInPlace_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("right, at the end") << u"春天来了，abc"_qs;
        QTest::newRow("wrong, at the end") << u"春天x了，abd"_qs;
        QTest::newRow("Backspace over a wrong one") << u"春天x\b来了"_qs;
        QTest::newRow("to the next line") << u"春天来了，abc 123。\nde"_qs;
        QTest::newRow("wrong one overtyped") << u"春x<天来了"_qs;
    }
    void pageRepaintedInPlace()
    {
        QFETCH(QString, keys);
        TypingExam w(u"春天来了，abc 123。"_qs + CRLF + u"def"_qs + CRLF);
        startExam(w);
        auto *page = childOf<PageView>(w.frm.get(), "LblGetText");
        // Each key painted as it came, as the examinee sees it.
        for (const QChar key : keys) {
            type(w, QString(key));
            QCoreApplication::processEvents();
        }
        const QImage shown =
                w.frm->windowHandle()
                        ->screen()
                        ->grabWindow(w.frm->winId())
                        .toImage()
                        .copy(QRect(page->mapTo(w.frm.get(), QPoint(0, 0)), page->size()))
                        .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, page->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // A blank pixel row between target lines at 12 points on 96, 120 and 144
    // dpi: the area and the window grow, the typing box keeps its height.
    void linesKeepApart()
    {
        TypingExam w(u"口，向每一个学生问好。「国」gjpqy\r\n"_qs.repeated(12));
        auto *page = childOf<PageView>(w.frm.get(), "LblGetText");
        for (const int pixels : { 16, 20, 24 }) {
            QFont font = page->font();
            font.setPixelSize(pixels);
            page->setFont(font);
            const auto pageLines = inkRows(page->grab().toImage());
            QCOMPARE(pageLines.size(), 11);
            QVERIFY(pageLines.last().second < page->height() - 1);  // inside the area
#ifndef Q_OS_WIN
            // Not made smaller: the first line's ink is the font's size. (The
            // face Wine stands in with draws a shorter ink; not checked there.)
            QVERIFY(pageLines[0].second - pageLines[0].first >= pixels);
#endif
            QCOMPARE(w.txtWrite()->geometry(),
                     QRect(10, page->geometry().bottom() + 33, page->width() + 17, 180));
            QVERIFY(w.txtWrite()->geometry().bottom() < w.txtWrite()->parentWidget()->height());
        }
        // The typing box's lines too, without the caret.
        startExam(w);
        w.txtWrite()->setPlainText(u"口，向每一个学生问好。「国」gjpqy\n"_qs.repeated(5));
        w.txtWrite()->clearFocus();
        QCOMPARE(inkRows(w.txtWrite()->viewport()->grab().toImage()).size(), 5);
    }

    void insertionKeepsThePageDeletionGoesToTheTop()
    {
        const QString target = lines(40);
        TypingExam w(target);
        startExam(w);
        type(w, target.left(400).replace(CRLF, u"\n"_qs));
        QCOMPARE(w.frm->topLine(), 10);
        vScroll1(w)->setValue(0);
        QTest::keyClick(w.txtWrite(), Qt::Key_Home, Qt::ControlModifier);
        type(w, u"a"_qs);
        // Everything shifted by one: all compared again, the page left alone.
        QCOMPARE(w.frm->topLine(), 0);
        QCOMPARE(w.frm->session().rightCount() + w.frm->session().errorCount(), 401);
        QVERIFY(w.frm->session().errorCount() > 0);

        vScroll1(w)->setValue(10);
        QTest::keyClick(w.txtWrite(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w.txtWrite(), Qt::Key_Backspace);
        QCOMPARE(vScroll1(w)->value(), 0);
        QCOMPARE(layer(w, "LblGetText"), target);
        QCOMPARE(layer(w, "LblWrite"), QString());
        QCOMPARE(layer(w, "LblError"), QString());
    }

    void pagesAutomaticallyAndReturnsFromBelow()
    {
        const QString target = QString(3000, u'a');
        TypingExam w(target);
        startExam(w);
        type(w, QString(168, u'a'));
        vScroll1(w)->setValue(5);
        QCOMPARE(w.frm->focusWidget(), w.txtWrite());
        type(w, u"a"_qs);  // 169 typed: the caret is on line 4, above the page
        QCOMPARE(w.frm->topLine(), 4);
        vScroll1(w)->setValue(5);
        type(w, u"a"_qs);  // 170: the caret is on the page's top line
        QCOMPARE(w.frm->topLine(), 5);

        vScroll1(w)->setValue(0);
        type(w, QString(170, u'a'));
        QCOMPARE(w.frm->topLine(), 0);
        type(w, u"b"_qs);  // the 341st character
        QCOMPARE(vScroll1(w)->value(), 10);
        QCOMPARE(layer(w, "LblGetText"), target.mid(340) + CRLF);
        QCOMPARE(layer(w, "LblError"), u"a"_qs);
        QCOMPARE(layer(w, "LblWrite"), u" "_qs);
    }

    void unusableExamTimeIsRefusedWithAMessage()
    {
        TypingExam w(lines(2), 547);
        startExam(w);
        QVERIFY(w.messages->informed.value(0).contains(u"546"_qs));
        QVERIFY(w.frm->exam().phase() == ExamSession::Phase::Waiting && !w.txtWrite()->isEnabled());
    }

    // 结束考试 asks once the text is typed to its end, a final line break
    // left out; before, it says the text is not typed.
    void exitNeedsTheTextToItsEnd_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("asked");
        QTest::newRow("final break left out") << u"abcdef\r\n"_qs << u"abcdef"_qs << true;
        QTest::newRow("one character short") << u"abcdef\r\n"_qs << u"abcde"_qs << false;
        QTest::newRow("no final break, two short") << u"abcdef"_qs << u"abcd"_qs << false;
        QTest::newRow("no final break, one short") << u"abcdef"_qs << u"abcde"_qs << false;
        QTest::newRow("no final break, to the end") << u"abcdef"_qs << u"abcdef"_qs << true;
        QTest::newRow("two final breaks, one typed") << u"ab\r\n\r\n"_qs << u"ab\n"_qs << true;
        QTest::newRow("two final breaks, none typed") << u"ab\r\n\r\n"_qs << u"ab"_qs << false;
    }
    void exitNeedsTheTextToItsEnd()
    {
        QFETCH(QString, target);
        QFETCH(QString, typed);
        QFETCH(bool, asked);
        TypingExam w(target);
        startExam(w);
        type(w, typed);
        childOf<QPushButton>(w.frm.get(), "CmdExit")->click();
        QCOMPARE(w.messages->asked,
                 asked ? QStringList { ExamSession::confirmExitQuestion() } : QStringList());
        QCOMPARE(w.messages->informed,
                 asked ? QStringList() : QStringList { ExamSession::notFinishedMessage() });
    }

    // What an input method hands over after the box lost the focus is refused;
    // the real Fcitx 5 does so in tst_pinyin.
    void commitsAfterTheFocusLeftAreRefused_data()
    {
        QTest::addColumn<bool>("timeUp");
        QTest::newRow("focus on CmdExit") << false;
        QTest::newRow("time up") << true;
    }
    void commitsAfterTheFocusLeftAreRefused()
    {
        QFETCH(bool, timeUp);
        TypingExam w(u"中文"_qs, 1);
        startExam(w);
        type(w, u"中"_qs);
        if (timeUp) {
            for (int tick = 0; tick < 60; ++tick)
                w.frm->onClockTick();
        } else {
            childOf<QPushButton>(w.frm.get(), "CmdExit")->setFocus();
        }
        type(w, u"文"_qs);
        QCOMPARE(w.txtWrite()->toPlainText(), u"中"_qs);
        QCOMPARE(w.frm->session().rightCount(), 1);
    }

    // Without a service to switch the combo would offer choices that do
    // nothing; a choice during the exam is applied once the box has the focus.
    void inputMethodChoice()
    {
        QList<int> unused;
        {
            TypingExam none(lines(2), 10, u"127.0.0.1"_qs,
                            std::make_unique<FakeInputMethods>(&unused, QStringList()));
            QVERIFY(!childOf<QComboBox>(none.frm.get(), "Combo1")->isVisible());
            QVERIFY(!childOf<QLabel>(none.frm.get(), "Label3")->isVisible());
        }
        TypingExam w(lines(2));
        QVERIFY(childOf<QComboBox>(w.frm.get(), "Combo1")->isVisible());
        startExam(w);
        emit childOf<QComboBox>(w.frm.get(), "Combo1")->activated(2);
        QTRY_COMPARE(w.activated, (QList<int> { 0, 2 }));
    }

    void startsOnEnter_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("chosen");  // entry of Combo1, -1 for none
        QTest::addColumn<int>("activated");
        QTest::newRow("tab strip, nothing chosen") << u"SSTab1"_qs << -1 << 0;
        QTest::newRow("Combo1, third chosen") << u"Combo1"_qs << 2 << 2;
        QTest::newRow("VScroll1") << u"VScroll1"_qs << -1 << 0;
        QTest::newRow("window") << u"FrmMain"_qs << 1 << 1;
    }
    void startsOnEnter()
    {
        QFETCH(QString, control);
        QFETCH(int, chosen);
        QFETCH(int, activated);
        TypingExam w(lines(40));
        childOf<QComboBox>(w.frm.get(), "Combo1")->setCurrentIndex(chosen);
        vScroll1(w)->setValue(3);
        QWidget *target = control == u"SSTab1"_qs
                ? childOf<QTabWidget>(w.frm.get(), "SSTab1")->tabBar()
                : control == u"FrmMain"_qs ? w.frm.get()
                                           : childOf<QWidget>(w.frm.get(), qPrintable(control));
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(w.frm->clock().state(), ExamClock::State::Running);
        QCOMPARE(w.frm->focusWidget(), w.txtWrite());
        QCOMPARE(lblInfo(w), QString());
        QCOMPARE(vScroll1(w)->value(), 0);
        QCOMPARE(w.activated, QList<int> { activated });
        // A second Enter is a line break in the box and restarts nothing.
        w.frm->onClockTick();
        QTest::keyClick(w.txtWrite(), Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(w.frm->session().typedLen(), 2);
        QCOMPARE(w.frm->clock().timePass(), 1);
        QCOMPARE(w.activated, QList<int> { activated });
    }

    void clockRunsToTheEnd()
    {
        const QString target = lines(40);
        TypingExam w(target, 5);
        startExam(w);
        type(w, QString(400, u'a'));
        for (int i = 0; i < 4; ++i)
            w.frm->onClockTick();
        QCOMPARE(lblInfo(w), QString());
        w.frm->onClockTick();
        // Only the first line's 32 letters are right.
        QCOMPARE(lblInfo(w), u"打字速度：384字／分钟"_qs + QString(10, u' ') + u"正确率：8％"_qs);
        QCOMPARE(childOf<QLabel>(w.frm.get(), "LblTime")->text(), u"04 : 55"_qs);
        for (int i = 5; i < 299; ++i)
            w.frm->onClockTick();
        QVERIFY(w.txtWrite()->isEnabled());
        w.frm->onClockTick();
        QCOMPARE(childOf<QLabel>(w.frm.get(), "LblTime")->text(), u"00 : 00"_qs);
        QVERIFY(!w.txtWrite()->isEnabled());
        QCOMPARE(w.frm->speed(), 6.4f);
        // The text still pages, the overlays keep their state, the box takes nothing.
        const QString writeBefore = w.frm->session().writeText();
        vScroll1(w)->setValue(0);
        QCOMPARE(layer(w, "LblGetText"), target);
        QCOMPARE(layer(w, "LblWrite"), writeBefore);
        vScroll1(w)->setValue(2);
        QCOMPARE(layer(w, "LblError"), w.frm->session().errorText().mid(68));
        type(w, u"a"_qs);
        QCOMPARE(w.frm->session().typedLen(), 400);
    }

    void promptBlinksAndExitLeavesBeforeTheStart()
    {
        TypingExam w(lines(2));
        for (int tick = 1; tick <= 5; ++tick) {
            w.frm->onPromptTick();
            QCOMPARE(lblInfo(w),
                     u"按下回车键开始计时考试，不会打的汉字请随便打一汉字代替......"_qs);
            QCOMPARE(childOf<QLabel>(w.frm.get(), "LblInfo")->palette().color(QPalette::WindowText),
                     QColor(0xC0, 0, 0));
        }
        w.frm->onPromptTick();
        QCOMPARE(lblInfo(w), QString());
        // Before the start the exit leaves once the zero record has settled
        // (nobody answers at this address); Enter on a focused CmdExit presses it.
        w.frm->upload().setAttempts(1);
        QSignalSpy left(w.frm.get(), &FrmMain::examLeft);
        QTest::keyClick(childOf<QPushButton>(w.frm.get(), "CmdExit"), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(left.count(), 1, 10000);
        QVERIFY(w.messages->asked.isEmpty());
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_typingwindow.moc"
