// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TxtWrite: the examinee's typing box. Counts every line break as CR LF, as
// the comparison expects, and lets nothing be pasted or dropped into it:
// each way of pasting would let the examinee paste the target text. Text an
// input method hands over because the box lost the focus is refused too.
// Characters that GBK cannot store (an input method's emoji, rare signs) are
// refused where they come in, a key's whole text or the part of an input
// method's commit that GBK lacks: the rest of the commit ("学校" of
// "学校🏫") goes in, so the text typed, the answer sheet written in GBK, the
// timeline and the comparison hold the same characters.
#include <QPlainTextEdit>

class TimelineRecorder;

class TypingBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TypingBox(QWidget *parent = nullptr);

    // Length of the text with each line break counted as two characters.
    int typedLength() const;
    // Characters before the caret, line breaks counted as two.
    int caretPosition() const;
    // The text from a position (line breaks as CR LF) to its end.
    QString typedFrom(int from) const;
    // The first position (line breaks as two) that changed since the last
    // call; INT_MAX when nothing did.
    int takeChangedFrom();
    // The most the box holds (line breaks as two); what a key or an input
    // method would add beyond it is cut off where it went in.
    void setLengthLimit(int limit) { m_lengthLimit = limit; }
    // Every key press and every change of the text from now on goes to the
    // recorder, each change marked whether an input method committed it.
    void recordInto(TimelineRecorder *recorder) { m_recorder = recorder; }

signals:
    // A key or an input method offered these characters, and the box did
    // not take them.
    void refused(const QString &characters);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void onContentsChange(int position, int removed, int added);
    void keepWithinLimit();
    // The document's characters from `from`, line breaks as "\n".
    QString documentText(int from, int count) const;

    int m_changedFrom;
    int m_lengthLimit;
    int m_insertedEnd = 0;  // document position just after the last insertion
    TimelineRecorder *m_recorder = nullptr;
    bool m_inInputMethodEvent = false;
    QString m_composition;  // the input method's composition as last shown
};
