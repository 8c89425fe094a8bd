// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/graderankingmodel.h"

void GradeRankingModel::setExam(const GradeWideExam *exam)
{
    beginResetModel();
    m_ranking.setExam(exam ? &exam->asOneExam() : nullptr);
    m_labs.clear();
    if (exam) {
        for (const GradeRankedRow &ranked : exam->ranking())
            m_labs << ranked.lab;
    }
    endResetModel();
}

RankingModel::Column GradeRankingModel::rankingColumn(int column)
{
    return RankingModel::Column(column > kLabColumn ? column - 1 : column);
}

QString GradeRankingModel::text(int row, int column) const
{
    if (column == kLabColumn)
        return m_labs.value(row);
    return m_ranking.text(row, rankingColumn(column));
}

QString GradeRankingModel::header(int column)
{
    return column == kLabColumn ? tr("机房") : RankingModel::header(rankingColumn(column));
}

int GradeRankingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_labs.size());
}

int GradeRankingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant GradeRankingModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant GradeRankingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical || role != Qt::DisplayRole || section < 0
        || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return header(section);
}
