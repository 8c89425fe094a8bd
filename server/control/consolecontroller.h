// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam that is running, without its window: the login gate, the
// results store and its collection (by hand, and every few seconds while
// login is open), retakes and export, and keeping the exam. The exam's
// settings, the class as it is watched, the login codes and clearing have
// controllers of their own, which the console holds. Commands return what went wrong for the
// examiner, empty when all went well. What needs the examiner's yes is not
// asked here: the question is offered, the window asks it and goes on only
// on a yes.
#include "archive/examarchive.h"
#include "class/answersheetpage.h"
#include "collect/retake.h"
#include "collect/resultstore.h"
#include "control/classcontroller.h"
#include "control/collectionschedule.h"
#include "control/consolefolders.h"
#include "control/examsettingscontroller.h"
#include "control/historycontroller.h"
#include "control/judgedexam.h"
#include "control/resultclearing.h"
#include "control/schoolcontroller.h"
#include "control/slipcodes.h"
#include "export/documentname.h"
#include "export/exportwriter.h"
#include "publish/logingate.h"
#include "publish/nextlogincodes.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace console {

class ConsoleController : public QObject
{
    Q_OBJECT

public:
    // While login is open the results are collected this often.
    static constexpr int kAutoCollectMillis = 5000;

    // What another console's login on the same folder puts in question.
    enum class SharedAction { OpenLogin, CloseLogin, Clear };

    explicit ConsoleController(ConsoleFolders folders, QObject *parent = nullptr);
    ~ConsoleController() override;

    const ConsoleFolders &folders() const { return m_folders; }
    // Why the results database could not be opened at the start; empty when it was.
    QString startProblem() const;

    // ---- Login gate ----
    bool loginOpen() const { return m_gate.isOpen(); }
    // Why login cannot open yet (no text, no time, no folder); empty when it can.
    QString readinessProblem() const;
    // The warning naming another console with login open on the folder;
    // empty when there is none.
    QString otherConsoleWarning(SharedAction action) const;
    // At the start, with an exam this console left published: whether to
    // withdraw it. Empty when there is none, or it is another console's.
    QString withdrawQuestion() const;
    // Before login opens, with result files of an earlier exam still in the
    // folder: whether to clear first. Empty when there are none.
    QString staleResultsQuestion() const;
    QString openLogin();
    QString closeLogin();
    // What the counts line adds about the gate (the exam published again
    // after its files went); empty when nothing happened.
    const QString &gateNote() const { return m_gateNote; }
    // The login codes to hand out and print.
    SlipCodes &slipCodes() { return m_slipCodes; }
    const SlipCodes &slipCodes() const { return m_slipCodes; }

    // ---- The exam's settings and the class ----
    ExamSettingsController &settings() { return m_settings; }
    ClassController &liveClass() { return m_class; }

    // ---- Results ----
    // The results in the table; empty when the database does not answer.
    std::optional<int> resultCount() const { return m_store->rowCount(); }
    // 获取成绩: collects on the collector's thread, after the clock's
    // collection under way, if any; while one by hand is under way, the
    // command joins it. collectedByHand tells what it found.
    void collectResults() { m_schedule.collectByHand(); }
    bool collectingByHand() const { return m_schedule.collectingByHand(); }
    // One tick of the collection clock: collects on the collector's thread;
    // a tick that finds the last collection still running is passed over.
    void collectQuietly() { m_schedule.collectQuietly(); }
    bool collectionUnderWay() const { return m_schedule.underWay(); }
    // Until the collections under way have been shown and their marks
    // kept; false when the deadline passed first.
    bool waitForCollection(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever))
    {
        if (!m_schedule.wait(deadline))
            return false;
        m_class.waitForMarksKept();
        return true;
    }
    const QTimer &collectClock() const { return m_collectClock; }

    // 重考 for the examinee of a row: the question naming them, or why not.
    // Read beside a collection under way: the ledger as last written holds
    // every finish the rows show.
    Retake::Offer retakeOffer(const ClassViewRow &row);
    // Lets the examinee of the row sit the exam once more, once no
    // collection writes; retakeDone tells how it went once the rows show it.
    void allowRetake(const ClassViewRow &row);
    bool retakePending() const { return m_schedule.retakePending(); }

    // What the answer-sheet window shows for the row with this recno; empty
    // for a row without a record.
    std::optional<AnswerSheetPage> answerSheetPage(qint32 recNo) const;

    // 清空上次: its question and its steps.
    ResultClearing &clearing() { return m_clearing; }

    WorkbookExport exportResults();

    // ---- The archive ----
    // Why the archive beside cj.mdb was refused at the start; empty when it is in use.
    QString archiveProblem() const { return m_archive->startProblem(); }
    // Keeping and showing past exams: what the 历次考试 window is handed.
    HistoryController &history() { return m_history; }
    // The school archive the kept exams are sent to.
    SchoolController &school() { return m_school; }

    // The console ends: the clock stops and the database is closed.
    void shutDown();

signals:
    void loginChanged(bool open);
    // The gate's note changed.
    void gateNoteChanged();
    // An automatic collection failed as a whole.
    void quietCollectionFailed(const QString &problem);
    // The collection by hand was shown: the problem, or which files were
    // skipped and the notes; empty when all went well.
    void collectedByHand(const QString &told);
    // A retake asked for is done and the rows show it: the problem, or empty.
    void retakeDone(const QString &problem);
    // The exam's files went from the folder and could not be published
    // again: nobody can log in any more, and login is shown closed.
    void loginLost(const QString &problem);

private:
    void setLoginState();
    void keepExamPublished();
    // Shows the collection; the class keeps the rows' marks.
    void showCollection(const CollectionReport &report);
    // Readies the folder for a collection; what it starts with.
    CollectionSchedule::Start prepareCollection();
    void noteLoginOpened();
    // Draws the keys of the exam as published, when it requires codes.
    void takeLoginCodes();

    ConsoleFolders m_folders;
    LoginGate m_gate;
    NextLoginCodes m_nextCodes;
    ExamSettingsController m_settings;
    JudgedExam m_judged;
    std::unique_ptr<ResultStore> m_store;
    std::unique_ptr<ExamArchive> m_archive;
    ClassController m_class;
    QTimer m_collectClock;
    std::shared_ptr<const RecordKeys> m_keys;  // of the exam as published, with codes
    QString m_gateNote;
    CollectionSchedule m_schedule;
    SchoolController m_school;
    // Last: they read the parts above.
    HistoryController m_history;
    SlipCodes m_slipCodes;
    ResultClearing m_clearing;
};

}  // namespace console
