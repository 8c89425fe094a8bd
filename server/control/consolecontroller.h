// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's console without its window: the login gate, the exam
// settings, the results store and its collection (by hand, and every few
// seconds while login is open), the class as it is watched live, clearing
// and export. Commands return what went wrong for the examiner, empty when
// all went well. What needs the examiner's yes is not asked here: the
// question is offered, the window asks it and goes on only on a yes.
#include "archive/examarchive.h"
#include "class/answersheetpage.h"
#include "class/liveclass.h"
#include "class/rosterloader.h"
#include "collect/backgroundcollector.h"
#include "collect/retake.h"
#include "collect/resultstore.h"
#include "control/historycontroller.h"
#include "publish/consolesettings.h"
#include "publish/logingate.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace console {

struct ConsoleFolders
{
    QString application;  // time.txt, test.txt, scratch files, article/
    QString program;  // where the manual ships, beside the program
    QString exchange;  // the folder the FTP service publishes
    QString database;  // the results database file (cj.mdb)
    QString exports;  // where exported workbooks are written; made when absent
};

class ConsoleController : public QObject
{
    Q_OBJECT

public:
    // While login is open the results are collected this often.
    static constexpr int kAutoCollectMillis = 5000;

    // What another console's login on the same folder puts in question.
    enum class SharedAction { OpenLogin, CloseLogin, Clear };

    using Export = WorkbookExport;

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

    // ---- Settings ----
    qint16 examMinutes() const { return m_examMinutes; }
    const QString &chosenArticlePath() const { return m_articlePath; }
    // Where the examiner's articles are kept: the article dialog opens there.
    QString articleFolder() const { return m_settings.articleFolder(); }
    // The exam text as chosen or stored: every line followed by CR LF.
    const QString &examText() const { return m_examText; }
    // test.txt becomes the exam text; the reading says whether there was one.
    examarticle::Reading readStoredExamText();
    // The article at `path` becomes the exam text; nothing changes when it
    // does not read. An empty path (a cancelled dialog) is no choice.
    QString chooseArticle(const QString &path);
    // Stores the chosen article and the typed exam time; on success the
    // time is in force and the exam text is let go.
    QString saveSettings(const QString &typedMinutes);
    // Lets go of the exam text of a settings panel the examiner left.
    void discardExamText();
    // Why the exchange folder may not change now; empty when it may.
    QString exchangeFolderLocked() const;
    QString saveExchangeFolder(const QString &folder);
    // The exchange folder the next start will use: the one chosen since
    // this start, unless KESTRIX_EXCHANGE_DIR overrides it; else the one
    // in use, folders().exchange.
    QString nextExchangeFolder() const;
    // What the examiner is told once a new exchange folder is stored.
    static QString exchangeFolderSaved(const QString &folder);

    // ---- The grading scale ----
    const GradingScale &gradingScale() const { return m_scale; }
    // Why the kept scale could not be read at the start (the standard one
    // is used); empty when it was.
    const QString &gradingProblem() const { return m_scaleProblem; }
    // Keeps the scale and grades with it from now on.
    QString saveGradingScale(const GradingScale &scale);

    // ---- Results and the class ----
    const QVector<ClassViewRow> &rows() const { return m_live.rows(); }
    ClassCounts counts() const { return m_live.counts(); }
    bool hasRoster() const { return m_live.roster().has_value(); }
    // The results in the table; empty when the database does not answer.
    std::optional<int> resultCount() const { return m_store->rowCount(); }
    // Collects now and waits for it; the problem, or which files were skipped.
    QString collectResults();
    // One tick of the collection clock: collects on the collector's thread;
    // a tick that finds the last collection still running is passed over.
    void collectQuietly();
    bool collectionUnderWay() const { return m_background.busy(); }
    // Until the collection under way has been shown.
    void waitForCollection() { m_background.wait(); }
    const QTimer &collectClock() const { return m_collectClock; }

    // 重考 for the examinee of a row: the question naming them, or why not.
    Retake::Offer retakeOffer(const ClassViewRow &row);
    // Lets the examinee of the row sit the exam once more; the problem or empty.
    QString allowRetake(const ClassViewRow &row);

    // What the answer-sheet window shows for the row with this recno; empty
    // for a row without a record.
    std::optional<AnswerSheetPage> answerSheetPage(qint32 recNo) const;

    // Starts reading the class list at `path` on a thread of its own;
    // rosterLoaded tells the outcome. The problem when it cannot start.
    QString loadRoster(const QString &path);
    bool rosterLoading() const { return m_rosters.busy(); }
    // Until the list being read has been taken in.
    void waitForRoster() { m_rosters.wait(); }

    // What clearing would delete, as a question; empty when there is
    // nothing to delete. A collection under way is finished first.
    QString clearQuestion();
    // Empties the results table and the exchange folder; the problems,
    // one for each part that failed.
    QStringList clearResults();

    Export exportResults();

    // ---- The archive ----
    // Why the archive beside cj.mdb was refused at the start; empty when it is in use.
    QString archiveProblem() const { return m_archive->startProblem(); }
    // Keeping and showing past exams: what the 历次考试 window is handed.
    HistoryController &history() { return m_history; }

    // The console ends: the clock stops and the database is closed.
    void shutDown();

signals:
    void loginChanged(bool open);
    void rowsChanged();
    void countsChanged();
    void examTextChanged(const QString &text);
    void gradingScaleChanged();
    // An automatic collection failed as a whole.
    void quietCollectionFailed(const QString &problem);
    // The exam's files went from the folder and could not be published
    // again: nobody can log in any more, and login is shown closed.
    void loginLost(const QString &problem);
    // A class list was read: the problem, or what the examiner should know
    // about the list now in use (empty when nothing).
    void rosterLoaded(const QString &told);

private:
    void setLoginState();
    void keepExamPublished();
    void setExamText(const QString &text);
    void readPublishedLength();
    void showCollection(const CollectionReport &report);
    void showQuietCollection(const CollectionReport &report);
    void classChanged();
    void takeRoster(const ClassRoster::Reading &reading);
    ExamFacts examFacts() const;
    void noteLoginOpened();

    ConsoleFolders m_folders;
    ConsoleSettings m_settings;
    LoginGate m_gate;
    std::unique_ptr<ResultStore> m_store;
    std::unique_ptr<ExamArchive> m_archive;
    LiveClass m_live;
    QTimer m_collectClock;
    BackgroundCollector m_background;
    RosterLoader m_rosters;
    KnownResultFiles m_knownFiles;  // read by the collections by hand
    std::optional<qint32> m_publishedLength;
    QString m_publishedStamp;  // size and time of the te.txt last counted
    QString m_gateNote;
    QString m_chosenExchange;  // stored by the examiner since this start
    GradingScale m_scale = GradingScale::standard();
    QString m_scaleProblem;

    qint16 m_examMinutes = examlimits::kDefaultExamMinutes;
    QString m_articlePath;
    QString m_examText;
    // Last: it reads the parts above.
    HistoryController m_history;
};

}  // namespace console
