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
#include "control/schoolreader.h"
#include "control/schoolsettings.h"
#include "export/exportwriter.h"
#include "stats/examsummary.h"
#include "stats/gradewideexam.h"

#include <QCoreApplication>
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

template <typename T>
using Answer = std::function<void(const ArchiveRead<T> &)>;

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
    Q_DECLARE_TR_FUNCTIONS(HistoryController)
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
    // and it answers, else this computer's file. The school's is read on
    // a thread of its own and opened there anew when it is not open;
    // `done` is told why it could not be, or empty.
    //
    // Each read and change below hands its answer to `done`: at once from
    // this computer's file, later from the school's, and not at all once
    // `context` has gone.
    void openArchiveShown(QObject *context, std::function<void(const QString &away)> done);
    bool showsSchool() const { return m_showsSchool; }
    // Whether a school's answer is still to come.
    bool busy() const { return m_reader.busy(); }
    // The login role of the console's lab, whose exams are marked in a
    // school archive: read when the archive shown was opened.
    const QString &labRole() const { return m_labRole; }

    // The kept exams the filter lists, newest first; two queries.
    void exams(const ExamFilter &filter, QObject *context, Answer<ExamList> done);
    // What there is to filter by.
    void filterChoices(QObject *context, Answer<ExamFilterChoices> done);
    // The classes that sat an exam in `term`.
    void termClasses(const SchoolTerm &term, QObject *context, Answer<QStringList> done);
    void exam(qint64 id, QObject *context, Answer<ArchivedExam> done);
    // Every kept exam of the examinee, oldest first.
    void history(const QString &examNumber, const QString &name, QObject *context,
                 Answer<QVector<HistoryPoint>> done);
    // The grade-wide exam that kept exam `id` is part of, with itself.
    void gradeExam(qint64 id, QObject *context, Answer<GradeWideExam> done);
    // The examinees to pick from on the 考生 tab.
    void examinees(QObject *context, Answer<QVector<KnownExaminee>> done);

    // Grades a kept exam with the scale in force: this lab's from now on,
    // in the archive; another lab's in a school archive is that lab's to
    // change, so only `exam`, as this window shows it, is regraded, and
    // `done` is told at once. The problem or empty.
    void regrade(ArchivedExam &exam, QObject *context, std::function<void(const QString &)> done);
    // Why this console may not change or delete the exam in storage, or
    // empty; the school's server refuses it too.
    QString removalRefused(const ExamSitting &sitting) const
    {
        return ExamArchive::changeRefused(sitting, m_labRole, m_showsSchool);
    }
    void remove(qint64 id, QObject *context, std::function<void(const QString &)> done);
    // This computer's file; a school database is backed up on its server.
    QString backUpTo(const QString &target) { return m_archive.backUpTo(target); }

    // The kept exams a term report covers, in the order of `ids`; with a
    // class named, only its examinees. `goOn` is told how many are read and
    // stops the reading by answering false: then neither value nor problem.
    // Over a school archive `goOn` is asked on the reader's thread.
    void termExams(const QVector<qint64> &ids, const QString &department,
                   std::function<bool(int read)> goOn, QObject *context,
                   Answer<QVector<ArchivedExam>> done);
    // The chosen classes' exams of `term`, whichever lab kept them, each
    // class's oldest first with its rows only; `goOn` is told how many
    // classes are read and stops by answering false, as above.
    void classTerms(const SchoolTerm &term, const QStringList &classes,
                    std::function<bool(int read)> goOn, QObject *context,
                    Answer<QVector<ClassTerm>> done);
    // A kept exam exported again, with its own scale and marks.
    WorkbookExport exportKeptExam(const ArchivedExam &exam) { return exportExam(exam); }
    // An exam's rows in a workbook with their states and places; `wrongCounts`
    // by recno, `titleNote` after the title.
    WorkbookExport exportExam(const ArchivedExam &exam,
                              const QHash<qint32, qint32> &wrongCounts = {},
                              const QString &titleNote = {});

private:
    const GradingScale &scaleInForce() const;
    // Runs `work` on the archive shown; `done` gets its result.
    template <typename Result>
    void onShown(std::function<Result(ExamArchive &)> work, QObject *context,
                 std::function<void(const Result &)> done)
    {
        if (m_showsSchool)
            m_reader.run<Result>(std::move(work), context, std::move(done));
        else
            done(work(m_archive));
    }

    ExamArchive &m_archive;  // this computer's file, where exams are kept
    RunningExam m_running;
    QString m_exportFolder;
    bool m_showsSchool = false;
    QString m_labRole;  // the school archive's login role, while it is shown
    SchoolReader m_reader;  // last: its thread ends first
};

}  // namespace console
