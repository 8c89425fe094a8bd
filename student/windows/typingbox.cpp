// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/typingbox.h"

#include "exam/timelinerecorder.h"
#include "exchange/gbk.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>

#include <limits>
#include <utility>

namespace {

const QChar kBlockBreak(QChar::ParagraphSeparator);

// Beyond this many characters the tail is taken from the whole text at once
// rather than character by character from the end.
constexpr int kShortTail = 64;

}  // namespace

TypingBox::TypingBox(QWidget *parent)
    : QPlainTextEdit(parent),
      m_changedFrom(std::numeric_limits<int>::max()),
      m_lengthLimit(std::numeric_limits<int>::max())
{
    connect(document(), &QTextDocument::contentsChange, this, &TypingBox::onContentsChange);
    // Before anyone else hears of the change, so that they see the cut text.
    connect(this, &QPlainTextEdit::textChanged, this, &TypingBox::keepWithinLimit);
    setAcceptDrops(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int TypingBox::typedLength() const
{
    const QTextDocument *doc = document();
    // characterCount holds one break per block, the last one not typed.
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

int TypingBox::caretPosition() const
{
    const QTextCursor cursor = textCursor();
    return cursor.position() + cursor.blockNumber();
}

void TypingBox::onContentsChange(int position, int removed, int added)
{
    if (m_recorder)
        m_recorder->textChanged(position, removed, documentText(position, added),
                                m_inInputMethodEvent ? TimelineEdit::Source::InputMethod
                                                     : TimelineEdit::Source::Keys);
    m_insertedEnd = position + added;
    // Blocks before the position are untouched, so its block number counts
    // the line breaks before it.
    const int counted = position + document()->findBlock(position).blockNumber();
    m_changedFrom = std::min(m_changedFrom, counted);
}

void TypingBox::keepWithinLimit()
{
    int excess = typedLength() - m_lengthLimit;
    if (excess <= 0)
        return;
    // Back from the end of what went in, a line break counting two.
    const QTextDocument *doc = document();
    int start = std::min(m_insertedEnd, doc->characterCount() - 1);
    const int end = start;
    while (excess > 0 && start > 0) {
        --start;
        excess -= doc->characterAt(start) == kBlockBreak ? 2 : 1;
    }
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

QString TypingBox::documentText(int from, int count) const
{
    const QTextDocument *doc = document();
    // The document counts a break after its last block that is never typed.
    count = std::min(count, doc->characterCount() - 1 - from);
    QString text;
    if (count <= 0)
        return text;
    if (count <= kShortTail) {
        text.reserve(count);
        for (int position = from; position < from + count; ++position)
            text.append(doc->characterAt(position));
    } else {
        QTextCursor cursor(document());
        cursor.setPosition(from);
        cursor.setPosition(from + count, QTextCursor::KeepAnchor);
        text = cursor.selectedText();
    }
    text.replace(kBlockBreak, u'\n');
    return text;
}

int TypingBox::takeChangedFrom()
{
    return std::exchange(m_changedFrom, std::numeric_limits<int>::max());
}

QString TypingBox::typedFrom(int from) const
{
    const int wanted = typedLength() - from;
    if (wanted <= 0)
        return QString();
    const QTextDocument *doc = document();
    if (wanted > kShortTail) {
        QString text = doc->toRawText();
        text.replace(kBlockBreak, QLatin1String("\r\n"));
        return text.mid(from);
    }
    // Typing at the end asks for a character or two: read them backwards
    // from the end instead of copying the whole text.
    QString reversed;
    reversed.reserve(wanted);
    for (int position = doc->characterCount() - 2; position >= 0 && reversed.size() < wanted;
         --position) {
        const QChar ch = doc->characterAt(position);
        if (ch == kBlockBreak) {
            reversed.append(u'\n');
            if (reversed.size() < wanted)
                reversed.append(u'\r');
        } else {
            reversed.append(ch);
        }
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

void TypingBox::keyPressEvent(QKeyEvent *event)
{
    // A key held down repeats without being pressed again.
    if (m_recorder && !event->isAutoRepeat())
        m_recorder->keyPressed(false);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_V && modifiers == Qt::ControlModifier) {
        QGuiApplication::clipboard()->clear();
        event->accept();
        return;
    }
    // Every other paste key (Ctrl+Shift+V, Shift+Insert, the platform's own)
    // is swallowed; the clipboard stays as it is.
    const bool pasteKey = event->matches(QKeySequence::Paste)
            || (event->key() == Qt::Key_V && (modifiers & Qt::ControlModifier))
            || (event->key() == Qt::Key_Insert && (modifiers & Qt::ShiftModifier));
    if (pasteKey) {
        event->accept();
        return;
    }
    // Tab moves on, as in a standard multi-line box; a tab character would
    // shift every later position of the comparison.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    // Enter with any modifier makes a plain line break (Shift+Enter would
    // otherwise insert a line separator that is not CR LF).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && modifiers != Qt::NoModifier) {
        QKeyEvent plain(event->type(), event->key(), Qt::NoModifier, event->text(),
                        event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    const gbk::Parted typed = gbk::partStorable(event->text());
    if (!typed.refused.isEmpty()) {
        event->accept();
        emit refused(typed.refused);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TypingBox::inputMethodEvent(QInputMethodEvent *event)
{
    // When the focus leaves the box (a click elsewhere, a question box, the
    // box disabled at time-up) the input method commits its unfinished
    // composition, as Latin letters, to the object that had the focus. The
    // examinee never chose that text: only the composition is taken down.
    const bool focused = isEnabled() && QGuiApplication::focusObject() == this;
    if (!focused && !event->commitString().isEmpty()) {
        QInputMethodEvent noComposition;
        QPlainTextEdit::inputMethodEvent(&noComposition);
        event->accept();
        return;
    }
    // The keys an input method takes reach the box only as the composition
    // they change, or as the text they commit.
    if (m_recorder && (!event->commitString().isEmpty() || event->preeditString() != m_composition))
        m_recorder->keyPressed(true);
    m_composition = event->preeditString();
    const gbk::Parted committed = gbk::partStorable(event->commitString());
    m_inInputMethodEvent = true;
    if (committed.refused.isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
    } else {
        QInputMethodEvent kept(event->preeditString(), event->attributes());
        kept.setCommitString(committed.kept, event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&kept);
        event->accept();
    }
    m_inInputMethodEvent = false;
    if (!committed.refused.isEmpty())
        emit refused(committed.refused);
}

void TypingBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        QGuiApplication::clipboard()->clear();
    QPlainTextEdit::mousePressEvent(event);
}

bool TypingBox::canInsertFromMimeData(const QMimeData *) const
{
    return false;
}

void TypingBox::insertFromMimeData(const QMimeData *)
{
    // Paste from the context menu, a drop and the middle-click selection
    // all end here: nothing is inserted.
}
