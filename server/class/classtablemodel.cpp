// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "class/classtablemodel.h"

#include "exchange/numbers.h"

#include <QBrush>
#include <QColor>

void ClassTableModel::setRows(QVector<ClassViewRow> rows)
{
    // Same shape: update in place, so the view keeps its scroll position
    // and selection while the class is watched.
    // Only the rows that changed repaint: most examinees' rows stay the
    // same from one automatic collection to the next.
    if (rows.size() == m_rows.size()) {
        for (int i = 0; i < int(rows.size()); ++i) {
            if (rows[i] == m_rows[i])
                continue;
            m_rows[i] = std::move(rows[i]);
            emit dataChanged(index(i, 0), index(i, kColumns - 1));
        }
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ClassTableModel::setScale(const GradingScale &scale)
{
    m_scale = scale;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Grade), index(int(m_rows.size()) - 1, Score));
}

int ClassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ClassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ClassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ClassViewRow &row = m_rows.at(index.row());
    const bool doubtful = !row.doubts.isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Department:
            return row.department;
        case ExamNumber:
            return row.examNumber;
        case Name:
            return row.name;
        case Speed:
            return row.hasRecord ? QVariant(numbers::speedText(row.speed)) : QVariant();
        case Accuracy:
            return numbers::accuracyText(row.accuracyLine);
        case TimePass:
            return row.hasRecord ? QVariant(row.timePass) : QVariant();
        case RecNo:
            return row.hasRecord ? QVariant(row.recNo) : QVariant();
        case State:
            return shownState(stateText(row.state), doubtful);
        case Progress:
            return row.progress ? QVariant(QStringLiteral("%1%").arg(qRound(*row.progress * 100)))
                                : QVariant();
        case Grade:
        case Score: {
            if (!row.hasRecord)
                return {};
            const auto grade = m_scale.gradeOf(row);
            if (index.column() == Grade)
                return m_scale.nameOf(grade);
            const auto score = m_scale.scoreOf(grade);
            return score ? QVariant(*score) : QVariant();
        }
        }
        return {};
    case ProgressRole:
        return index.column() == Progress && row.progress ? QVariant(*row.progress) : QVariant();
    case Qt::ToolTipRole: {
        QString tip =
                row.stateNote.isEmpty() ? QString() : stateText(row.state) + u'，' + row.stateNote;
        if (row.state == ExamineeState::Typing && row.lastMinuteSpeed)
            tip = (tip.isEmpty() ? stateText(row.state) : tip)
                    + tr("，最近一分钟速度%1字/分钟").arg(qRound(*row.lastMinuteSpeed));
        if (doubtful)
            tip = (tip.isEmpty() ? stateText(row.state) : tip) + tr("，存疑：\n")
                    + row.doubts.join(u'\n');
        if (!row.setAside.isEmpty())
            tip = (tip.isEmpty() ? stateText(row.state) : tip) + u'\n' + row.setAside.join(u'\n');
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::ForegroundRole:
        if (doubtful && index.column() == State)
            return QBrush(QColor(0xC0, 0, 0));
        if (!row.hasRecord)
            return QBrush(QColor(0x80, 0x80, 0x80));
        return {};
    case Qt::BackgroundRole:
        return doubtful ? QVariant(QBrush(QColor(0xFF, 0xEB, 0xEB))) : QVariant();
    }
    return {};
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const QString captions[kColumns] = {
        tr("     部    门"),
        tr("     考    号"),
        tr("   姓    名"),
        tr("打字速度（字/分钟）"),
        tr("正确率（％）"),
        tr("打字时间（秒）"),
        QStringLiteral("RecNo"),
        tr("状态"),
        tr("进度"),
        tr("等级"),
        tr("得分"),
    };
    return section >= 0 && section < kColumns ? QVariant(captions[section]) : QVariant();
}
