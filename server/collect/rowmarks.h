// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the console shows of a results row beyond its figures: the state and
// the marks its records earned. They are kept in the table tabMarks beside
// tabCJ (which stays as it is), so that a console started again shows each
// row as it left it until its first collection judges the files anew.
#include "collect/resultstore.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct RowMarks
{
    ExamineeState state = ExamineeState::Absent;
    // False for a record its examinee did not sign: it is nobody's login
    // and nobody's finish.
    bool counted = true;
    std::optional<double> progress;  // typed / what completes the text, 0 to 1
    QStringList doubts;  // empty: nothing looks wrong
    // Results set aside for a retake, said beside the retake's own state:
    // the examiner's decision, not a doubt.
    QStringList setAside;
    QString stateNote;  // what the state's tooltip adds: a resume and its time
    // Wrong characters of the answer sheet, scored again; empty without one.
    std::optional<qint32> wrongCount;
    // Which login of its examinee the record's session is, from 1, in the
    // order the console first saw them; 0 when unknown.
    int loginOrdinal = 0;
    // Right characters per minute over the record's last minute, from its
    // keystroke timeline; empty without one.
    std::optional<double> lastMinuteSpeed;

    friend bool operator==(const RowMarks &a, const RowMarks &b)
    {
        return a.state == b.state && a.counted == b.counted && a.progress == b.progress
                && a.doubts == b.doubts && a.setAside == b.setAside && a.stateNote == b.stateNote
                && a.wrongCount == b.wrongCount && a.loginOrdinal == b.loginOrdinal
                && a.lastMinuteSpeed == b.lastMinuteSpeed;
    }
};

// A row of the table with the marks it was shown with.
struct MarkedRow
{
    ResultRow row;
    RowMarks marks;

    friend bool operator==(const MarkedRow &a, const MarkedRow &b)
    {
        return a.row == b.row && a.marks == b.marks;
    }
};

class RowMarkTable
{
    Q_DECLARE_TR_FUNCTIONS(RowMarkTable)
public:
    static QString tableName() { return QStringLiteral("tabMarks"); }

    // Creates the table when absent; problem() says when it cannot.
    explicit RowMarkTable(QSqlDatabase database);

    const QString &problem() const { return m_problem; }
    // Empty when the table cannot be read (problem() says why).
    std::optional<QVector<MarkedRow>> load();
    // Replaces every row's marks in one transaction.
    bool replaceAll(const QVector<MarkedRow> &rows);
    bool clear();

private:
    bool fail(const QString &detail);
    void copyIntoFile();

    QSqlDatabase m_db;
    QString m_problem;
};
