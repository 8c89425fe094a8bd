// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/rankingpane.h"

#include "stats/rankingmodel.h"

#include <QHeaderView>

namespace {

constexpr int kDoubtsWidth = 260;

}  // namespace

RankingPane::RankingPane(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("GridRanking"));
    m_rows = new RankingModel(this);
    setModel(m_rows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Long doubts would make their column so wide that its heading, in the
    // middle, lies out of sight: the column keeps a readable width, the
    // whole text is the cell's tooltip.
    horizontalHeader()->setSectionResizeMode(RankingModel::Doubts, QHeaderView::Interactive);
    setColumnWidth(RankingModel::Doubts, kDoubtsWidth);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setToolTip(tr("双击一行查看这位考生的历次成绩"));
    connect(this, &QTableView::doubleClicked, this, &RankingPane::chooseExaminee);
}

void RankingPane::showExam(const ArchivedExam *exam)
{
    m_rows->setExam(exam);
}

void RankingPane::chooseExaminee(const QModelIndex &ranked)
{
    emit examineeChosen(m_rows->index(ranked.row(), RankingModel::ExamNumber).data().toString(),
                        m_rows->index(ranked.row(), RankingModel::Name).data().toString());
}
