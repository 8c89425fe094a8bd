// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one rule by which a typed text is held against the exam text: position
// by position, a position right when the typed character equals the exam
// text's one there. The client runs it live while the examinee types, the
// console over a record's answer sheet; both take the figures from it.
#include <QString>

#include <functional>
#include <vector>

class AnswerComparison
{
public:
    // Gives the typed text from a position (from 0) to its end, with every
    // line break as CR LF.
    using TypedFrom = std::function<QString(int from)>;

    explicit AnswerComparison(QString targetText = QString());

    const QString &targetText() const { return m_target; }
    int targetLen() const { return int(m_target.size()); }
    // Positions compared so far: the typed ones within the target.
    int comparedCount() const { return int(m_right.size()); }
    bool isRightAt(int position) const { return m_right[size_t(position)]; }
    int rightCount() const { return m_rightCount; }
    int errorCount() const { return m_errorCount; }
    // One character per compared position: the target character where it
    // was typed right (writeText) or wrong (errorText), a blank of the same
    // width otherwise.
    const QString &writeText() const { return m_writeText; }
    const QString &errorText() const { return m_errorText; }

    // Compares a typed text of typedLen characters again from position
    // `from` on; earlier positions keep their verdict.
    void compare(int typedLen, int from, const TypedFrom &typedFrom);
    void compare(const QString &typed);

    // U+3000 for a target character that GBK stores in two bytes, U+0020
    // for every other one (CR and LF included).
    static QChar blankFor(QChar targetChar);

private:
    QString m_target;
    QString m_writeText;
    QString m_errorText;
    std::vector<bool> m_right;  // verdict per compared position
    int m_rightCount = 0;
    int m_errorCount = 0;
};

// What a record's lines 3 to 7 say about an answer, computed from it.
struct AnswerFigures
{
    qint32 rightCount = 0;
    qint32 errorCount = 0;
    qint32 typedLen = 0;
    float speed = 0;
    float accuracy = 0;
};

// How much of a target makes it typed to its end: all of it but its final
// line break (CR LF), which nobody types after the last character. Progress
// and what is left untyped are measured against it; the figures are not.
int completeLength(QStringView target);

// The figures of a typed text after timePass seconds, as the client takes
// them for its record.
AnswerFigures scoreAnswer(const AnswerComparison &comparison, qint32 typedLen, qint32 timePass);
