// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tabs of 历次考试 about the chosen exam: its statistics, its charts,
// its ranking (an examinee picked there opens on the 考生 tab) and an
// examinee's history; the charts in front saved as pictures.
#include "archive/archivedexam.h"
#include "control/historycontroller.h"
#include "windows/consolehooks.h"

#include <QWidget>

class ExamChartsPane;
class ExamineePane;
class QChartView;
class QTabWidget;
class QTextBrowser;
class RankingPane;

class ExamDetailPane : public QWidget
{
    Q_OBJECT

public:
    ExamDetailPane(console::HistoryController &history, const ConsoleHooks &hooks, QWidget *parent);

    // Reads again the examinees there are to pick from.
    void refresh();
    // Empty tabs without an exam.
    void showExam(const ArchivedExam *exam);
    void findExaminee(const QString &examNumber, const QString &name);
    // Saves what is in front: the examinee's trend on the 考生 tab, else
    // the exam's charts.
    void saveCharts();

    QTabWidget *tabs() const { return m_tabs; }
    QTextBrowser *statistics() const { return m_statistics; }
    QChartView *histogram() const;
    QChartView *scatter() const;
    QChartView *trend() const;

signals:
    // What the examiner should be told: a problem, or where a picture went.
    void told(const QString &text);

private:
    void showRankedExaminee(const QString &examNumber, const QString &name);
    void saveExamCharts();
    void saveTrend();

    const ConsoleHooks &m_hooks;
    bool m_showsExam = false;
    QTabWidget *m_tabs = nullptr;
    QTextBrowser *m_statistics = nullptr;
    ExamChartsPane *m_charts = nullptr;
    RankingPane *m_ranking = nullptr;
    ExamineePane *m_examinee = nullptr;
};
