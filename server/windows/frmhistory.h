// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 历次考试 window: the exam list with its filters on the left, the
// chosen exam's tabs on the right, and the commands on it: exported again,
// regraded or deleted (from a school archive by its own lab only), its PDF
// report, its grade-wide view, the term report of the exams listed and a
// backup of the archive. It hosts the panes and hands the commands on.
#include "control/historycontroller.h"
#include "windows/consolehooks.h"
#include "windows/examdetailpane.h"
#include "windows/historyexamlist.h"

#include <QWidget>

class QChartView;
class QPushButton;
class QTableView;
class QTabWidget;
class QTextBrowser;
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
    QTableView *examList() const { return m_list->examList(); }
    QChartView *histogram() const { return m_detail->histogram(); }
    QChartView *scatter() const { return m_detail->scatter(); }
    QChartView *trend() const { return m_detail->trend(); }
    QTabWidget *tabs() const { return m_detail->tabs(); }
    QTextBrowser *statistics() const { return m_detail->statistics(); }
    // The kept exams the list shows now, oldest first: what a term report covers.
    QVector<qint64> listedExamIds() const;

    // Shows the exam once it is read; the last one chosen wins.
    void showExam(qint64 id);
    void findExaminee(const QString &examNumber, const QString &name)
    {
        m_detail->findExaminee(examNumber, name);
    }

private:
    QWidget *buildCommands(QWidget *parent);
    void listExams();

    void exportAgain();
    void regrade();
    void deleteExam();
    void backUp();
    void writePdfReport();
    void showGradeExam();
    void writeTermReport();
    void writeGradeTermReport();

    void setShown(const std::optional<ArchivedExam> &exam);
    void tell(const QString &text);

    console::HistoryController &m_history;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;
    std::optional<ArchivedExam> m_shown;
    qint64 m_chosen = -1;  // the exam last chosen, maybe still being read
    bool m_refreshing = false;
    bool m_refreshAgain = false;
    bool m_telling = false;  // a message box is up

    HistoryExamList *m_list = nullptr;
    ExamDetailPane *m_detail = nullptr;
    QPushButton *m_deleteExam = nullptr;
};
