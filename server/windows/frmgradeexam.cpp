// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmgradeexam.h"

#include "report/gradereport.h"
#include "stats/graderankingmodel.h"
#include "stats/statisticspage.h"

#include "exchange/messages.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

FrmGradeExam::FrmGradeExam(GradeWideExam exam, const ConsoleHooks &hooks, Messages *messages,
                           QWidget *parent)
    : QDialog(parent), m_exam(std::move(exam)), m_hooks(hooks), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmGradeExam"));
    setWindowTitle(tr("年级汇总 — 《%1》").arg(m_exam.sitting().articleName));
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    m_statistics = new QTextBrowser(tabs);
    m_statistics->setObjectName(QStringLiteral("TxtGradeStatistics"));
    m_statistics->setHtml(gradeStatisticsPage(m_exam));
    tabs->addTab(m_statistics, tr("各班与各机房"));

    m_rankingRows = new GradeRankingModel(this);
    m_rankingRows->setExam(&m_exam);
    m_ranking = new QTableView(tabs);
    m_ranking->setObjectName(QStringLiteral("GridGradeRanking"));
    m_ranking->setModel(m_rankingRows);
    m_ranking->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ranking->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ranking->verticalHeader()->hide();
    m_ranking->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabs->addTab(m_ranking, tr("年级排名"));
    layout->addWidget(tabs, 1);

    auto *buttons = new QHBoxLayout();
    auto *pdf = new QPushButton(tr("PDF报告"), this);
    pdf->setObjectName(QStringLiteral("CmdGradePdfReport"));
    connect(pdf, &QPushButton::clicked, this, &FrmGradeExam::writePdfReport);
    buttons->addWidget(pdf);
    buttons->addStretch(1);
    auto *close = new QPushButton(tr("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(1100, 760);
}

void FrmGradeExam::writePdfReport()
{
    const QString chosen = m_hooks.chooseDocumentsFile(this, gradereport::defaultFileName(m_exam),
                                                       tr("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty())
        return;
    const QString problem = gradereport::writePdf(m_exam, chosen);
    tell(problem.isEmpty() ? tr("年级报告已保存为 %1").arg(QDir::toNativeSeparators(chosen))
                           : problem);
}

void FrmGradeExam::tell(const QString &text)
{
    if (!text.isEmpty())
        m_messages->inform(this, text);
}
