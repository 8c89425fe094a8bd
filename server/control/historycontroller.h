// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping and showing past exams, without a window: the exam in the results
// table as it would be kept, keeping it, and the kept exams listed, read,
// regraded, deleted, exported again and backed up. The 历次考试 window is
// handed this, not the console.
#include "archive/examarchive.h"
#include "control/schoolsettings.h"
#include "export/exportwriter.h"
#include "stats/examsummary.h"
#include "stats/gradewideexam.h"

#include <functional>

class LiveClass;
class LoginGate;

namespace console {

class ExamSettingsController;

// The parts of the console the exam under way is read from. The console
// owns them, and they outlive the controller.
struct RunningExam
{
    ResultStore &store;  // the results, ranked
    const LoginGate &gate;  // the exam as published
    const LiveClass &live;  // the states, the marks and the class list
    const ExamSettingsController &settings;  // the scale and exam time in force
    const SchoolSetting &school;  // the lab and teacher that keep it
};

class HistoryController
{
public:
    HistoryController(ExamArchive &archive, RunningExam running, QString exportFolder);
    HistoryController(const HistoryController &) = delete;
    HistoryController &operator=(const HistoryController &) = delete;

    // The exam in the results table as it would be kept now: its rows
    // ranked, then the class list's absentees.
    ArchiveRead<ArchivedExam> currentExam();
    // Keeps the exam in the results table, when there is one and the
    // archive is in use; the problem or empty.
    QString keepCurrentExam();

    // The kept exams, newest first.
    ArchiveRead<QVector<ExamSummary>> exams() { return summariesOf(m_archive.exams()); }
    ArchiveRead<ArchivedExam> exam(qint64 id) { return m_archive.exam(id); }
    // Every kept exam of the examinee, oldest first.
    ArchiveRead<QVector<HistoryPoint>> history(const QString &examNumber, const QString &name)
    {
        return historyOf(m_archive.history(examNumber, name));
    }

    // The grade-wide exam that kept exam `id` is part of, with itself.
    ArchiveRead<GradeWideExam> gradeExam(qint64 id);

    // The examinees to pick from on the 考生 tab.
    ArchiveRead<QVector<KnownExaminee>> examinees() { return m_archive.examinees(); }

    // Grades a kept exam with the scale in force from now on.
    QString regrade(qint64 id) { return m_archive.regrade(id, scaleInForce()); }
    QString remove(qint64 id) { return m_archive.remove(id); }
    QString backUpTo(const QString &target) { return m_archive.backUpTo(target); }

    // The kept exams a term report covers, in the order of `ids`; with a
    // class named, only its examinees. `goOn` is told how many are read and
    // stops the reading by answering false: then neither value nor problem.
    ArchiveRead<QVector<ArchivedExam>> termExams(const QVector<qint64> &ids,
                                                 const QString &department,
                                                 const std::function<bool(int read)> &goOn);
    // A kept exam exported again, with its own scale and marks.
    WorkbookExport exportKeptExam(const ArchivedExam &exam) { return exportExam(exam); }
    // An exam's rows in a workbook with their states and places; `wrongCounts`
    // by recno, `titleNote` after the title.
    WorkbookExport exportExam(const ArchivedExam &exam,
                              const QHash<qint32, qint32> &wrongCounts = {},
                              const QString &titleNote = {});

private:
    const GradingScale &scaleInForce() const;

    ExamArchive &m_archive;
    RunningExam m_running;
    QString m_exportFolder;
};

}  // namespace console
