// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What HistoryController hands back, waited for: at once from this
// computer's file, within a bound from a school's; "no answer" when none came.
#include "control/historycontroller.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

// `ask(context, done)` asks; what it handed `done`.
template <typename Result, typename Ask>
Result answerOf(Ask &&ask, int millis = 60000)
{
    QObject context;
    std::optional<Result> got;
    ask(&context, [&got](const Result &result) { got = result; });
    const QDeadlineTimer deadline(millis);
    while (!got && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return got ? *got
               : console::readanswer::refused(QStringLiteral("no answer"),
                                              static_cast<Result *>(nullptr));
}

inline ArchiveRead<console::ExamList> listedExams(console::HistoryController &history,
                                                  const ExamFilter &filter = {})
{
    return answerOf<ArchiveRead<console::ExamList>>(
            [&](QObject *context, auto done) { history.exams(filter, context, done); });
}

inline ArchiveRead<ArchivedExam> keptExam(console::HistoryController &history, qint64 id)
{
    return answerOf<ArchiveRead<ArchivedExam>>(
            [&](QObject *context, auto done) { history.exam(id, context, done); });
}

inline QString shownArchive(console::HistoryController &history)
{
    return answerOf<QString>(
            [&](QObject *context, auto done) { history.openArchiveShown(context, done); });
}
