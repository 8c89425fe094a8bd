// TxtWrite: line breaks count as CR LF, and nothing can be pasted or dropped.
#include "typingbox.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace {

const QString kClip = QStringLiteral("春天来了");

}  // namespace

class TestTypingBox : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void editingKeysWork();
    void lineBreaksCountTwice();
    void pasteKeysInsertNothing_data();
    void pasteKeysInsertNothing();
    void contextMenuCannotPaste();
    void dropInsertsNothing();
    void middleClickInsertsNothing();

private:
    std::unique_ptr<TypingBox> m_box;
};

void TestTypingBox::init()
{
    m_box = std::make_unique<TypingBox>();
    m_box->resize(300, 200);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    QApplication::clipboard()->setText(kClip);
    QTest::keyClicks(m_box.get(), QStringLiteral("ab"));
}

void TestTypingBox::editingKeysWork()
{
    QTest::keyClicks(m_box.get(), QStringLiteral("cd"));
    QTest::keyClick(m_box.get(), Qt::Key_Backspace);
    QTest::keyClick(m_box.get(), Qt::Key_Left);
    QTest::keyClick(m_box.get(), Qt::Key_Left);
    QTest::keyClick(m_box.get(), Qt::Key_Delete);
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ac"));
    QTest::keyClick(m_box.get(), Qt::Key_End);
    QTest::keyClick(m_box.get(), Qt::Key_Return);
    QTest::keyClick(m_box.get(), Qt::Key_X);
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ac\nx"));
}

void TestTypingBox::lineBreaksCountTwice()
{
    QTest::keyClick(m_box.get(), Qt::Key_Return);
    QTest::keyClick(m_box.get(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(m_box.get(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(m_box.get(), Qt::Key_C);
    QCOMPARE(m_box->typedLength(), 9);
    QCOMPARE(m_box->caretPosition(), 9);
    QCOMPARE(m_box->typedFrom(0), QStringLiteral("ab\r\n\r\n\r\nc"));
    QCOMPARE(m_box->typedFrom(6), QStringLiteral("\r\nc"));
    QTest::keyClick(m_box.get(), Qt::Key_Up);
    QCOMPARE(m_box->caretPosition(), 6);
    // Long tails come from the whole text, short ones from the end.
    QTest::keyClicks(m_box.get(), QString(70, u'x'));
    const QString whole = m_box->typedFrom(0);
    QCOMPARE(int(whole.size()), m_box->typedLength());
    for (int from : {1, 2, 8, 75})
        QCOMPARE(m_box->typedFrom(from), whole.mid(from));
}

void TestTypingBox::pasteKeysInsertNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("clears");
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+V") << int(Qt::Key_V) << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Alt+V") << int(Qt::Key_V) << int(Qt::ControlModifier | Qt::AltModifier) << false;
}

void TestTypingBox::pasteKeysInsertNothing()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, clears);
    QTest::keyClick(m_box.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
    QCOMPARE(QApplication::clipboard()->text(), clears ? QString() : kClip);
}

void TestTypingBox::contextMenuCannotPaste()
{
    QTest::mousePress(m_box->viewport(), Qt::RightButton);
    QVERIFY(QApplication::clipboard()->text().isEmpty());
    QApplication::clipboard()->setText(kClip);
    std::unique_ptr<QMenu> menu(m_box->createStandardContextMenu());
    QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
    QVERIFY(paste);
    QVERIFY(!paste->isEnabled());
    m_box->paste();
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
}

void TestTypingBox::dropInsertsNothing()
{
    QMimeData data;
    data.setText(kClip);
    const QPoint at(20, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_box->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_box->viewport(), &drop);
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
}

void TestTypingBox::middleClickInsertsNothing()
{
    QClipboard *clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection())
        QSKIP("This platform has no selection clipboard");
    clipboard->setText(kClip, QClipboard::Selection);
    QTest::mouseClick(m_box->viewport(), Qt::MiddleButton);
    QCOMPARE(m_box->toPlainText(), QStringLiteral("ab"));
}

QTEST_MAIN(TestTypingBox)
#include "tst_typingbox.moc"
