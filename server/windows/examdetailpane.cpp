// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examdetailpane.h"

#include "windows/examchartspane.h"
#include "windows/examineepane.h"
#include "windows/rankingpane.h"

#include "stats/statisticspage.h"

#include <QDir>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

ExamDetailPane::ExamDetailPane(console::HistoryController &history, const ConsoleHooks &hooks,
                               QWidget *parent)
    : QWidget(parent), m_hooks(hooks)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    m_statistics = new QTextBrowser(m_tabs);
    m_statistics->setObjectName(QStringLiteral("TxtStatistics"));
    m_tabs->addTab(m_statistics, tr("统计"));

    m_charts = new ExamChartsPane(m_tabs);
    m_tabs->addTab(m_charts, tr("图表"));

    m_ranking = new RankingPane(m_tabs);
    connect(m_ranking, &RankingPane::examineeChosen, this, &ExamDetailPane::showRankedExaminee);
    m_tabs->addTab(m_ranking, tr("排名"));
    m_examinee = new ExamineePane(history, m_tabs);
    connect(m_examinee, &ExamineePane::told, this, &ExamDetailPane::told);
    m_tabs->addTab(m_examinee, tr("考生"));
    layout->addWidget(m_tabs, 1);
}

void ExamDetailPane::refresh()
{
    m_examinee->refresh();
}

void ExamDetailPane::showExam(const ArchivedExam *exam)
{
    m_showsExam = exam != nullptr;
    if (exam)
        m_statistics->setHtml(statisticsPage(*exam, examTitle(*exam)));
    else
        m_statistics->clear();
    m_charts->showExam(exam);
    m_ranking->showExam(exam);
}

void ExamDetailPane::findExaminee(const QString &examNumber, const QString &name)
{
    m_examinee->findExaminee(examNumber, name);
}

QChartView *ExamDetailPane::histogram() const
{
    return m_charts->histogram();
}

QChartView *ExamDetailPane::scatter() const
{
    return m_charts->scatter();
}

QChartView *ExamDetailPane::trend() const
{
    return m_examinee->trend();
}

void ExamDetailPane::showRankedExaminee(const QString &examNumber, const QString &name)
{
    m_tabs->setCurrentWidget(m_examinee);
    m_examinee->findExaminee(examNumber, name);
}

void ExamDetailPane::saveCharts()
{
    if (m_tabs->currentWidget() == m_examinee)
        saveTrend();
    else
        saveExamCharts();
}

void ExamDetailPane::saveTrend()
{
    const QString who = m_examinee->shownExaminee();
    if (who.isEmpty()) {
        emit told(tr("请先选择一位考生。"));
        return;
    }
    const QString chosen = m_hooks.chooseDocumentsFile(this, tr("%1 成绩变化.png").arg(who),
                                                       tr("PNG 图片 (*.png)"));
    if (chosen.isEmpty())
        return;
    const QString problem = m_examinee->saveTrend(chosen);
    emit told(problem.isEmpty() ? tr("图表已保存为\n%1").arg(QDir::toNativeSeparators(chosen))
                                : problem);
}

void ExamDetailPane::saveExamCharts()
{
    if (!m_showsExam)
        return;
    const QString chosen =
            m_hooks.chooseDocumentsFile(this, tr("考试图表.png"), tr("PNG 图片 (*.png)"));
    if (chosen.isEmpty())
        return;
    if (const QString problem = m_charts->saveAs(chosen); !problem.isEmpty()) {
        emit told(problem);
        return;
    }
    const QStringList paths = ExamChartsPane::picturePaths(chosen);
    emit told(tr("图表已保存为\n%1\n%2")
                      .arg(QDir::toNativeSeparators(paths[0]), QDir::toNativeSeparators(paths[1])));
}
