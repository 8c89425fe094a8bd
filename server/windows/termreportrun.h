// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A term report written from 历次考试 with a progress dialog that can
// cancel it: the kept exams read, then the workbook written, each on a
// thread of its own while the window goes on; a class's term report, or
// the grade's over chosen classes. An exam's PDF report is written the
// same way.
#include "control/historycontroller.h"

#include <functional>

class QWidget;

namespace termreportrun {

// Writes the exams `ids` (with a class named, its examinees only) to
// `path`; what to tell the examiner, empty when cancelled.
QString run(QWidget *parent, console::HistoryController &history, const QVector<qint64> &ids,
            const QString &department, const QString &path);

// Writes the grade's term workbook of `classes` in `term` to `path`; what
// to tell the examiner, empty when cancelled.
QString runGrade(QWidget *parent, console::HistoryController &history, const SchoolTerm &term,
                 const QStringList &classes, const QString &path);

// Writes the PDF report of `exam` to `path`; what to tell the examiner.
QString runPdf(QWidget *parent, const ArchivedExam &exam, const QString &path);

// Asks for one of the terms of `choices` and the classes that sat an exam
// in it, then where to save (`chooseFile`, given the name to offer: empty
// to step back), then runs the grade's workbook; what to tell the
// examiner, empty when nothing is to be told.
QString pickAndRunGrade(QWidget *parent, console::HistoryController &history,
                        const ExamFilterChoices &choices,
                        const std::function<QString(const QString &suggestedName)> &chooseFile);

}  // namespace termreportrun
