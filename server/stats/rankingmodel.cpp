// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/rankingmodel.h"

#include "exchange/numbers.h"

#include <algorithm>
#include <functional>

namespace {

// A result in doubt is not placed until the examiner has judged it.
bool ranked(const ArchivedRow &row)
{
    return row.finished() && row.doubts.isEmpty();
}

}  // namespace

QVector<std::optional<int>> placesOf(const QVector<ArchivedRow> &rows)
{
    QVector<double> finished;
    for (const ArchivedRow &row : rows) {
        if (ranked(row))
            finished.append(row.speed);
    }
    std::sort(finished.begin(), finished.end(), std::greater<>());
    QVector<std::optional<int>> places;
    places.reserve(rows.size());
    for (const ArchivedRow &row : rows) {
        if (!ranked(row)) {
            places.append(std::nullopt);
            continue;
        }
        // One more than the finished results strictly faster.
        const auto notFaster =
                std::lower_bound(finished.begin(), finished.end(), row.speed, std::greater<>());
        places.append(int(notFaster - finished.begin()) + 1);
    }
    return places;
}

QString placeText(const ArchivedRow &row, const std::optional<int> &place)
{
    if (place)
        return QString::number(*place);
    return row.finished() ? QStringLiteral("—") : QString();
}

void RankingModel::setExam(const ArchivedExam *exam)
{
    beginResetModel();
    m_rows = exam ? exam->rows : QVector<ArchivedRow>();
    m_places = placesOf(m_rows);
    m_scale = exam ? exam->sitting.scale : GradingScale::standard();
    endResetModel();
}

QString RankingModel::text(int row, Column column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const ArchivedRow &result = m_rows[row];
    switch (column) {
    case Place:
        return placeText(result, m_places[row]);
    case Department:
        return result.department;
    case ExamNumber:
        return result.examNumber;
    case Name:
        return result.name;
    // Who did not sit has no figures to show.
    case Speed:
        return result.sat() ? numbers::speedText(result.speed) : QString();
    case Accuracy:
        return numbers::accuracyText(result.accuracyLine);
    case TimePass:
        return result.sat() ? QString::number(result.timePass) : QString();
    case Grade:
        return m_scale.nameOf(m_scale.gradeOf(result));
    case Score: {
        const auto score = m_scale.scoreOf(m_scale.gradeOf(result));
        return score ? QString::number(*score) : QString();
    }
    // 存疑 when anything about the row looks wrong, as the class grid and
    // the export say it.
    case State:
        return result.shownState();
    case Doubts:
        return result.doubtsLine();
    case kColumns:
        break;
    }
    return {};
}

int RankingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RankingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant RankingModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    // Doubts can be long: the whole text on hovering.
    if (role == Qt::ToolTipRole && index.column() == Doubts)
        return text(index.row(), Doubts);
    if (role != Qt::DisplayRole)
        return {};
    return text(index.row(), Column(index.column()));
}

QString RankingModel::header(Column column)
{
    static const QString headers[kColumns] = {
        tr("名次"),        tr("部门"),       tr("考号"), tr("姓名"), tr("速度（字/分钟）"),
        tr("正确率（%）"), tr("用时（秒）"), tr("等级"), tr("得分"), tr("状态"),
        tr("存疑")
    };
    return column >= 0 && column < kColumns ? headers[column] : QString();
}

QVariant RankingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The last column's heading at its left, in sight beside 状态 however
    // wide the doubts make the column.
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == Doubts)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (orientation == Qt::Vertical || role != Qt::DisplayRole || section < 0
        || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return header(Column(section));
}
