// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One examinee's result as the client wrote it: what the results table
// stores, and what the live class and the archive add their marks to.
#include <QString>
#include <QStringList>

// Where an examinee stands: listed but not logged in, logged in and waiting
// for Enter, typing, handed in, or stopped unfinished after the exam time.
enum class ExamineeState { Absent, Waiting, Typing, Finished, Interrupted };
inline constexpr ExamineeState kExamineeStates[] = { ExamineeState::Absent, ExamineeState::Waiting,
                                                     ExamineeState::Typing, ExamineeState::Finished,
                                                     ExamineeState::Interrupted };

// 未登录, 未开始, 答题中, 已交卷, 中断: the words of the class grid.
QString stateText(ExamineeState state);
// The words the record of an exam keeps (export, archive, reports): the
// grid's, but 缺考 for one who never logged in, since the exam is over.
QString keptStateText(ExamineeState state);
// Both words in the Chinese that archives kept before states were codes,
// whatever the language shown.
QStringList storedStateWords(ExamineeState state);
// What a 状态 cell says: 存疑 when anything about the row looks wrong,
// else its state's word.
QString shownState(const QString &stateWord, bool doubtful);

struct ResultCore
{
    qint32 recNo = 0;
    QString department;
    QString examNumber;
    QString name;
    double speed = 0;
    QString accuracyLine;  // the accuracy line exactly as the client wrote it
    qint16 timePass = 0;

    // The accuracy line as a number; 0 when it does not read as one.
    double accuracy() const;

    friend bool operator==(const ResultCore &a, const ResultCore &b)
    {
        return a.recNo == b.recNo && a.department == b.department && a.examNumber == b.examNumber
                && a.name == b.name && a.speed == b.speed && a.accuracyLine == b.accuracyLine
                && a.timePass == b.timePass;
    }
};
