// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 历次考试 window: the exam under way and every kept exam, newest
// first and searchable; for the chosen one its statistics, charts and
// ranking, exported again, regraded or deleted; an examinee's history; a
// backup of the archive. It shows what the history controller gives and
// hands the commands on.
#include "control/historycontroller.h"
#include "windows/consolehooks.h"
#include "windows/examchartspane.h"
#include "windows/examineepane.h"

#include <QWidget>

class QChartView;
class QComboBox;
class QLineEdit;
class QTabWidget;
class QTableView;
class QTextBrowser;
class ExamListModel;
class ExamListFilter;
class Messages;
class RankingModel;

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
    void showChosenExam();
    void showStatistics();
    void showRanking();
    void showRankedExaminee(const QModelIndex &ranked);

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
    void chooseClass();

    // Where to save, asked with `suggestedName` in the documents folder; empty when cancelled.
    QString chooseSaveFile(const QString &suggestedName, const QString &filter);
    void tell(const QString &text);

    console::HistoryController &m_history;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    std::optional<ArchivedExam> m_shown;

    QLineEdit *m_search = nullptr;
    ExamListModel *m_exams = nullptr;
    ExamListFilter *m_filter = nullptr;
    QComboBox *m_class = nullptr;
    QTableView *m_examList = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTextBrowser *m_statistics = nullptr;
    ExamChartsPane *m_charts = nullptr;
    RankingModel *m_rankingRows = nullptr;
    QTableView *m_ranking = nullptr;
    ExamineePane *m_examinee = nullptr;
};
