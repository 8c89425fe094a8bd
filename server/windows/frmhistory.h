// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 历次考试 window: the exam under way and every kept exam, newest
// first and searchable; for the chosen one its statistics, charts and
// ranking, exported again, regraded or deleted; an examinee's history; a
// backup of the archive. It shows what the controller and the archive
// give and hands the commands on.
#include "control/consolecontroller.h"
#include "windows/consolehooks.h"

#include <QWidget>

class QChartView;
class QComboBox;
class QLineEdit;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTextBrowser;
class ExamListModel;
class ExamListFilter;
class Messages;

class FrmHistory : public QWidget
{
    Q_OBJECT

public:
    FrmHistory(console::ConsoleController &controller, const ConsoleHooks &hooks,
               Messages *messages, QWidget *parent);

    // Reads the list again and shows the exam chosen before, or the newest.
    void refresh();

protected:
    // The exam shown; 0 for the one under way, -1 for none.
    qint64 shownId() const { return m_shown ? m_shown->id : -1; }
    QTableView *examList() const { return m_examList; }
    QChartView *histogram() const { return m_histogram; }
    QChartView *scatter() const { return m_scatter; }
    QChartView *trend() const { return m_trend; }
    QTextBrowser *statistics() const { return m_statistics; }
    // The kept exams the list shows now, oldest first: what a term report covers.
    QVector<qint64> listedExamIds() const;

    void showExam(qint64 id);
    void findExaminee(const QString &examNumber, const QString &name);

private:
    void buildExamPane(QWidget *pane);
    QWidget *buildExamineePane();
    void showChosenExam();
    void showStatistics();
    void showRanking();

    void saveCharts();
    void exportAgain();
    void regrade();
    void deleteExam();
    void backUp();
    void writePdfReport();
    void writeTermReport();
    void findTypedExaminee();
    void chooseClass();

    // Where to save, asked with `suggestedName` in the documents folder; empty when cancelled.
    QString chooseSaveFile(const QString &suggestedName, const QString &filter);
    void tell(const QString &text);

    console::ConsoleController &m_controller;
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
    QChartView *m_histogram = nullptr;
    QChartView *m_scatter = nullptr;
    QStandardItemModel *m_rankingRows = nullptr;
    QTableView *m_ranking = nullptr;
    QLineEdit *m_examNumber = nullptr;
    QLineEdit *m_name = nullptr;
    QStandardItemModel *m_historyRows = nullptr;
    QChartView *m_trend = nullptr;
};
