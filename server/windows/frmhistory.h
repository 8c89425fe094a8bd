// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 历次考试 window: the exam under way and the kept exams, newest
// first, filtered by article, day, class and term (and over a school
// archive by lab and teacher, this console's own in bold); for the chosen
// one its statistics, charts and ranking, exported again, regraded or
// deleted (from a school archive by its own lab only); an examinee's
// history; a backup of the archive. It shows what the history controller gives and
// hands the commands on.
#include "control/historycontroller.h"
#include "windows/consolehooks.h"
#include "windows/examchartspane.h"
#include "windows/examfilterbar.h"
#include "windows/examineepane.h"
#include "windows/rankingpane.h"

#include <QWidget>

class QChartView;
class QTabWidget;
class QTableView;
class QTextBrowser;
class ExamListModel;
class QLabel;
class QPushButton;
class Messages;

class FrmHistory : public QWidget
{
    Q_OBJECT

public:
    FrmHistory(console::HistoryController &history, const ConsoleHooks &hooks, Messages *messages,
               QWidget *parent);

    // Reads the list again and shows the exam chosen before, or the newest.
    void refresh();
    // The exam under way moved on (results arrived): its entry and, when
    // shown, its statistics, charts and ranking follow.
    void followCurrentExam();

protected:
    // The exam shown; 0 for the one under way, -1 for none.
    qint64 shownId() const { return m_shown ? m_shown->id : -1; }
    QTableView *examList() const { return m_examList; }
    QChartView *histogram() const { return m_charts->histogram(); }
    QChartView *scatter() const { return m_charts->scatter(); }
    QChartView *trend() const { return m_examinee->trend(); }
    QTabWidget *tabs() const { return m_tabs; }
    QTextBrowser *statistics() const { return m_statistics; }
    // The kept exams the list shows now, oldest first: what a term report covers.
    QVector<qint64> listedExamIds() const;

    void showExam(qint64 id);
    void findExaminee(const QString &examNumber, const QString &name)
    {
        m_examinee->findExaminee(examNumber, name);
    }

private:
    void buildExamPane(QWidget *pane);
    // Lists the exams the filters choose; one query.
    void listExams();
    void showChosenExam();
    void showStatistics();
    void showRanking();
    void showRankedExaminee(const QString &examNumber, const QString &name);

    void saveCharts();
    void saveExamCharts();
    void saveTrend();
    void exportAgain();
    void regrade();
    void deleteExam();
    void backUp();
    void writePdfReport();
    void showGradeExam();
    void writeTermReport();
    void writeGradeTermReport();

    // Where to save, asked with `suggestedName` in the documents folder; empty when cancelled.
    QString chooseSaveFile(const QString &suggestedName, const QString &filter);
    void tell(const QString &text);

    console::HistoryController &m_history;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    std::optional<ArchivedExam> m_shown;

    ExamFilterBar *m_filters = nullptr;
    QLabel *m_note = nullptr;  // the school archive away, more exams than listed
    QString m_away;  // why the school archive could not be opened
    ExamListModel *m_exams = nullptr;
    QTableView *m_examList = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTextBrowser *m_statistics = nullptr;
    ExamChartsPane *m_charts = nullptr;
    RankingPane *m_ranking = nullptr;
    QPushButton *m_deleteExam = nullptr;
    ExamineePane *m_examinee = nullptr;
};
