// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ranking of one exam as a table: every column as display text,
// the grade and score by the exam's own scale. The 排名 tab shows it and
// the PDF report prints it, so both show the same cells.
#include "archive/archivedexam.h"

#include <QCoreApplication>
#include <QAbstractTableModel>

#include <optional>

// Each row's 名次: by speed among the finished results, equal speeds
// sharing a place (1, 2, 2, 4); absent, unfinished and doubtful rows have none.
QVector<std::optional<int>> placesOf(const QVector<ArchivedRow> &rows);
// The 名次 cell: the place, or "—" for a finished result in doubt.
QString placeText(const ArchivedRow &row, const std::optional<int> &place);

class RankingModel : public QAbstractTableModel
{
    Q_DECLARE_TR_FUNCTIONS(RankingModel)
public:
    enum Column {
        Place,
        Department,
        ExamNumber,
        Name,
        Speed,
        Accuracy,
        TimePass,
        Grade,
        Score,
        State,
        Doubts,
        kColumns
    };

    using QAbstractTableModel::QAbstractTableModel;

    // The exam's rows, already ranked; none without an exam.
    void setExam(const ArchivedExam *exam);
    // The cell's display text.
    QString text(int row, Column column) const;
    // The column's heading; the term report's sheets use the same.
    static QString header(Column column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<ArchivedRow> m_rows;
    QVector<std::optional<int>> m_places;
    GradingScale m_scale = GradingScale::standard();
};
