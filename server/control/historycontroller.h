// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping and showing past exams, without a window: the exam in the results
// table as it would be kept, keeping it, and the kept exams listed, read,
// regraded, deleted, exported again and backed up; over the school's
// archive when the console sends there. The 历次考试 window is
// handed this, not the console.
#include "archive/examarchive.h"
#include "archive/examineesearch.h"
#include "archive/examlisting.h"
#include "control/schoolsettings.h"
#include "export/exportwriter.h"
#include "stats/examsummary.h"
#include "stats/gradewideexam.h"

#include <functional>
#include <memory>

class LiveClass;
class LoginGate;

namespace console {

class ExamSettingsController;

// The kept exams a filter lists, newest first.
struct ExamList
{
    QVector<ExamSummary> exams;
    bool more = false;  // more matched than are listed
};

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

    // The archive 历次考试 shows: the school's when the console sends there
    // and it answers, else this computer's file. Opens the school's anew
    // when it is not open; why it could not be, or empty.
    QString openArchiveShown();
    bool showsSchool() const { return m_school && m_school->isOpen(); }
    // The login role of the console's lab, whose exams are marked in a school archive.
    const QString &labRole() { return shown().role(); }

    // The kept exams the filter lists, newest first; two queries.
    ArchiveRead<ExamList> exams(const ExamFilter &filter = {});
    // What there is to filter by.
    ArchiveRead<ExamFilterChoices> filterChoices() { return ExamListing(shown()).choices(); }
    ArchiveRead<ArchivedExam> exam(qint64 id) { return shown().exam(id); }
    // Every kept exam of the examinee, oldest first.
    ArchiveRead<QVector<HistoryPoint>> history(const QString &examNumber, const QString &name)
    {
        return historyOf(ExamineeSearch(shown()).history(examNumber, name));
    }

    // The grade-wide exam that kept exam `id` is part of, with itself.
    ArchiveRead<GradeWideExam> gradeExam(qint64 id);

    // The examinees to pick from on the 考生 tab.
    ArchiveRead<QVector<KnownExaminee>> examinees() { return ExamineeSearch(shown()).examinees(); }

    // Grades a kept exam with the scale in force: this lab's from now on,
    // in the archive; another lab's in a school archive is that lab's to
    // change, so only `exam`, as this window shows it, is regraded. The
    // problem or empty.
    QString regrade(ArchivedExam &exam)
    {
        if (!removalRefused(exam.sitting).isEmpty()) {
            exam.sitting.scale = scaleInForce();
            return {};
        }
        return shown().regrade(exam.id, scaleInForce());
    }
    // Why this console may not change or delete the exam in storage, or
    // empty; the school's server refuses it too.
    QString removalRefused(const ExamSitting &sitting) { return shown().changeRefused(sitting); }
    QString remove(qint64 id) { return shown().remove(id); }
    // This computer's file; a school database is backed up on its server.
    QString backUpTo(const QString &target) { return m_archive.backUpTo(target); }

    // The kept exams a term report covers, in the order of `ids`; with a
    // class named, only its examinees. `goOn` is told how many are read and
    // stops the reading by answering false: then neither value nor problem.
    ArchiveRead<QVector<ArchivedExam>> termExams(const QVector<qint64> &ids,
                                                 const QString &department,
                                                 const std::function<bool(int read)> &goOn);
    // The chosen classes' exams of `term`, whichever lab kept them, each
    // class's oldest first with its rows only; `goOn` is told how many
    // classes are read and stops by answering false: then neither value
    // nor problem.
    ArchiveRead<QVector<ClassTerm>> classTerms(const SchoolTerm &term, const QStringList &classes,
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
    ExamArchive &shown() { return showsSchool() ? *m_school : m_archive; }

    ExamArchive &m_archive;  // this computer's file, where exams are kept
    std::unique_ptr<ExamArchive> m_school;
    RunningExam m_running;
    QString m_exportFolder;
};

}  // namespace console
