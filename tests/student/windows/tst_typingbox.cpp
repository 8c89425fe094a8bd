// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TxtWrite: line breaks count as CR LF, and nothing can be pasted or dropped.
#include "windows/typingbox.h"

#include "exam/timelinerecorder.h"
#include "exchange/gbk.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>

class TestTypingBox : public QObject
{
    Q_OBJECT
    const QString m_clip = QStringLiteral("春天来了");
    std::unique_ptr<TypingBox> m_box;

private slots:
    void init()
    {
        m_box = std::make_unique<TypingBox>();
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
        QApplication::clipboard()->setText(m_clip);
        QTest::keyClicks(m_box.get(), QStringLiteral("ab"));
    }

    void editingKeysWorkAndLineBreaksCountTwice()
    {
        QTest::keyClicks(m_box.get(), QStringLiteral("cd"));
        for (Qt::Key key :
             { Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete, Qt::Key_End })
            QTest::keyClick(m_box.get(), key);
        QCOMPARE(m_box->toPlainText(), QStringLiteral("ac"));
        QTest::keyClick(m_box.get(), Qt::Key_Return);
        QTest::keyClick(m_box.get(), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(m_box.get(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(m_box.get(), Qt::Key_C);
        QCOMPARE(m_box->typedLength(), 9);
        QCOMPARE(m_box->typedFrom(0), QStringLiteral("ac\r\n\r\n\r\nc"));
        QTest::keyClick(m_box.get(), Qt::Key_Up);
        QCOMPARE(m_box->caretPosition(), 6);
        QCOMPARE(m_box->typedFrom(6), QStringLiteral("\r\nc"));
        // Tab moves on instead of typing a character that shifts the rest.
        QTest::keyClick(m_box.get(), Qt::Key_Tab);
        QCOMPARE(m_box->typedLength(), 9);
    }

    // The box stops at its limit wherever the keys go in; a line break that
    // does not fit is not half typed.
    void lengthStopsAtTheLimit_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("caretFromEnd");
        QTest::addColumn<QString>("text");
        QTest::newRow("at the end") << u"cdef"_qs << 0 << u"abcd"_qs;
        QTest::newRow("in the middle") << u"xyz"_qs << 1 << u"axyb"_qs;
        QTest::newRow("line break") << u"c\r"_qs << 0 << u"abc"_qs;
    }
    void lengthStopsAtTheLimit()
    {
        QFETCH(QString, keys);
        QFETCH(int, caretFromEnd);
        m_box->setLengthLimit(4);
        for (int i = 0; i < caretFromEnd; ++i)
            QTest::keyClick(m_box.get(), Qt::Key_Left);
        QTest::keyClicks(m_box.get(), keys);
        QTEST(m_box->toPlainText(), "text");
        QVERIFY(m_box->typedLength() <= 4);
    }

    // What the recorder hears replays to the box's text; an input method's
    // keys count as they change its composition, its commits are its own.
    void recordsWhatReplaysToTheText()
    {
        ExamClock clock(10);
        TimelineRecorder recorder(clock);
        m_box->clear();
        m_box->recordInto(&recorder);
        m_box->setLengthLimit(10);
        QVERIFY(clock.start());
        QTest::keyClicks(m_box.get(), QStringLiteral("cd"));
        QTest::keyClick(m_box.get(), Qt::Key_Left);
        QTest::keyClick(m_box.get(), Qt::Key_Backspace);
        QTest::keyClick(m_box.get(), Qt::Key_Return);
        QTest::keyClick(m_box.get(), Qt::Key_End);
        for (const QString &composition : { u"n"_qs, u"ni"_qs, u"ni"_qs, u"nih"_qs }) {
            QInputMethodEvent compose(composition, {});
            QApplication::sendEvent(m_box.get(), &compose);
        }
        QInputMethodEvent commit;
        commit.setCommitString(u"你好"_qs);
        QApplication::sendEvent(m_box.get(), &commit);
        QTest::keyClicks(m_box.get(), QStringLiteral("xyzuvw"));  // beyond the limit
        QCOMPARE(m_box->toPlainText(), u"\nd你好xyzuv"_qs);
        const KeyTimeline &timeline = recorder.timeline();
        QCOMPARE(keytimeline::replayed(timeline.edits), m_box->toPlainText());
        QCOMPARE(timeline.keys.size(), size_t(2 + 4 + 4 + 6));
        QCOMPARE(std::count_if(timeline.keys.cbegin(), timeline.keys.cend(),
                               [](const TimelineKey &key) { return key.intoComposition; }),
                 4);
        const auto byInputMethod = [](const TimelineEdit &edit) {
            return edit.source == TimelineEdit::Source::InputMethod;
        };
        QCOMPARE(std::count_if(timeline.edits.cbegin(), timeline.edits.cend(), byInputMethod), 1);
        QCOMPARE(std::find_if(timeline.edits.cbegin(), timeline.edits.cend(), byInputMethod)
                         ->inserted,
                 u"你好"_qs);
    }

    // What GBK cannot store is refused as it comes in, from a key or an
    // input method, and the rest of a commit goes in: the text, its
    // timeline and the sheet's bytes agree.
    void onlyWhatGbkStoresGoesIn_data()
    {
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QByteArray>("sheet");
        const QByteArray xuexiao = "\xD1\xA7\xD0\xA3";
        QTest::newRow("characters") << u"学校"_qs << QStringList { u"😀"_qs } << xuexiao + "c";
        QTest::newRow("emoji") << u"🏫"_qs << QStringList { u"🏫"_qs, u"😀"_qs } << QByteArray("c");
        QTest::newRow("characters and emoji")
                << u"学🏫校"_qs << QStringList { u"🏫"_qs, u"😀"_qs } << xuexiao + "c";
    }
    void onlyWhatGbkStoresGoesIn()
    {
        QFETCH(QString, commit);
        ExamClock clock(10);
        TimelineRecorder recorder(clock);
        m_box->clear();
        m_box->recordInto(&recorder);
        QVERIFY(clock.start());
        QSignalSpy refusals(m_box.get(), &TypingBox::refused);
        QInputMethodEvent compose(u"xuexiao"_qs, {}), committed;
        committed.setCommitString(commit);
        QKeyEvent emojiKey(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"😀"_qs);
        for (QEvent *event : std::initializer_list<QEvent *> { &compose, &committed, &emojiKey })
            QApplication::sendEvent(m_box.get(), event);
        QTest::keyClick(m_box.get(), Qt::Key_C);

        QTEST(gbk::encode(m_box->typedFrom(0)), "sheet");
        QCOMPARE(keytimeline::replayed(recorder.timeline().edits), m_box->toPlainText());
        QVERIFY(m_box->textCursor().block().layout()->preeditAreaText().isEmpty());
        QStringList refused;
        for (const QList<QVariant> &refusal : std::as_const(refusals))
            refused << refusal.at(0).toString();
        QTEST(refused, "refused");
    }

    void pasteKeysInsertNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("clears");
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+Shift+V")
                << int(Qt::Key_V) << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
        QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << false;
    }
    void pasteKeysInsertNothing()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, clears);
        QTest::keyClick(m_box.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
        QCOMPARE(QApplication::clipboard()->text(), clears ? QString() : m_clip);
    }

    void contextMenuAndDropInsertNothing()
    {
        QTest::mousePress(m_box->viewport(), Qt::RightButton);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        QApplication::clipboard()->setText(m_clip);
        std::unique_ptr<QMenu> menu(m_box->createStandardContextMenu());
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste && !paste->isEnabled());
        m_box->paste();

        QMimeData data;
        data.setText(m_clip);
        QDragEnterEvent enter(QPoint(20, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(m_box->viewport(), &enter);
        QDropEvent drop(QPoint(20, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_box->viewport(), &drop);
        QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestTypingBox)
#include "tst_typingbox.moc"
