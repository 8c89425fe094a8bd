// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 清空上次: what clearing would delete, offered as a question, and the
// steps that keep the exam, empty the results table and only then delete
// the exchange folder's files.
#include "archive/examarchive.h"
#include "collect/resultstore.h"
#include "control/classcontroller.h"
#include "control/collectionschedule.h"
#include "control/consolefolders.h"
#include "control/historycontroller.h"
#include "control/judgedexam.h"
#include "control/schoolcontroller.h"
#include "publish/logingate.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace console {

class ResultClearing
{
    Q_DECLARE_TR_FUNCTIONS(ResultClearing)
public:
    // What the console clears and what it tells.
    struct Parts
    {
        const ConsoleFolders &folders;
        ResultStore &store;
        ExamArchive &archive;
        CollectionSchedule &schedule;
        ClassController &live;
        JudgedExam &judged;
        LoginGate &gate;
        HistoryController &history;
        SchoolController &school;
    };
    explicit ResultClearing(Parts parts) : m_parts(parts) { }

    // What clearing would delete, as a question; neither question nor
    // problem when there is nothing to delete; the problem when the table
    // cannot be read (then nothing may be deleted). A collection under way
    // is finished first.
    struct Question
    {
        std::optional<QString> question;
        QString problem;
    };
    Question question();
    // The steps in the order that keeps a kill harmless: the exam is kept,
    // the table emptied (and read back empty), and only then are the
    // exchange folder's files deleted. Each step returns its problem or
    // empty; stopped after any step, a second clear finishes the job with
    // the exam kept once and no file deleted whose row was not cleared.
    std::vector<std::function<QString()>> steps();
    // Runs the steps until one fails; the problems, one for the part that failed.
    QStringList clear();

private:
    QString keepExam();
    QString clearTable();
    QString clearFiles();

    Parts m_parts;
};

}  // namespace console
