// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ranking across a grade as a table: the columns of an exam's ranking
// with the lab (机房) after the place. The 年级汇总 window shows it and the
// grade's PDF report prints it.
#include "stats/gradewideexam.h"
#include "stats/rankingmodel.h"

#include <QCoreApplication>

class GradeRankingModel : public QAbstractTableModel
{
    Q_DECLARE_TR_FUNCTIONS(GradeRankingModel)
public:
    // The columns: 名次, 机房, then the ranking's from 部门 on.
    static constexpr int kLabColumn = 1;
    static constexpr int kColumns = RankingModel::kColumns + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // Where a column of the ranking shows here.
    static int columnOf(RankingModel::Column column)
    {
        return column > RankingModel::Place ? column + 1 : column;
    }

    // The grade's rows, ranked; none without an exam.
    void setExam(const GradeWideExam *exam);
    QString text(int row, int column) const;
    static QString header(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The ranking's column shown in `column`.
    static RankingModel::Column rankingColumn(int column);

    RankingModel m_ranking;
    QStringList m_labs;
};
