// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/examlistmodel.h"

#include "exchange/numbers.h"

#include <QFont>

void ExamListModel::setExams(std::optional<ExamSummary> current, QVector<ExamSummary> kept)
{
    beginResetModel();
    m_withCurrent = current.has_value();
    m_exams = std::move(kept);
    if (current)
        m_exams.prepend(*current);
    endResetModel();
}

void ExamListModel::setCurrent(const ExamSummary &current)
{
    if (!m_withCurrent)
        return;
    m_exams[0] = current;
    emit dataChanged(index(0, 0), index(0, columnCount() - 1));
}

qint64 ExamListModel::idAt(int row) const
{
    return row >= 0 && row < m_exams.size() ? m_exams[row].id : -1;
}

void ExamListModel::setOwnRole(const QString &role)
{
    beginResetModel();
    m_ownRole = role;
    endResetModel();
}

bool ExamListModel::isOwn(int row) const
{
    if (m_withCurrent && row == 0)
        return true;
    return !m_ownRole.isEmpty() && m_exams[row].labRole == m_ownRole;
}

int ExamListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_exams.size());
}

int ExamListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ExamListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_exams.size())
        return {};
    const ExamSummary &exam = m_exams[index.row()];
    const bool live = m_withCurrent && index.row() == 0;
    switch (role) {
    case IdRole:
        return exam.id;
    case Qt::FontRole:
        if (isOwn(index.row())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (!live && isOwn(index.row()))
            return tr("本机房的考试");
        return {};
    case Qt::DisplayRole:
        switch (index.column()) {
        case When:
            return live ? tr("当前考试")
                        : exam.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        case Article:
            return exam.articleName;
        case Minutes:
            return exam.examMinutes;
        case Examinees:
            return exam.examinees;
        case MeanSpeed:
            return numbers::speedText(exam.meanSpeed);
        case PassRate:
            // Nobody sat: no rate to give, not a rate of none.
            if (exam.examinees == 0)
                return QStringLiteral("—");
            return QStringLiteral("%1%").arg(exam.passRate * 100, 0, 'f', 0);
        case Lab:
            return exam.lab;
        case Teacher:
            return exam.teacher;
        }
    }
    return {};
}

QVariant ExamListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const QString captions[kColumns] = {
        tr("日期"),     tr("文章"),   tr("时间（分钟）"), tr("人数"),
        tr("平均速度"), tr("及格率"), tr("机房"),         tr("教师"),
    };
    return section >= 0 && section < kColumns ? QVariant(captions[section]) : QVariant();
}

ArchivedExam onlyDepartment(ArchivedExam exam, const QString &department)
{
    exam.rows.removeIf([&](const ArchivedRow &row) { return row.department != department; });
    return exam;
}
