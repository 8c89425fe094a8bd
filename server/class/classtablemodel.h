// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid's model: the rows of LiveClass, the results table's seven columns
// first (as the table names them), then the state and the progress, then
// the grade and score by the grading scale.
#include "class/liveclass.h"
#include "grading/gradingscale.h"

#include <QCoreApplication>
#include <QAbstractTableModel>

class ClassTableModel : public QAbstractTableModel
{
    Q_DECLARE_TR_FUNCTIONS(ClassTableModel)
public:
    enum Column {
        Department,
        ExamNumber,
        Name,
        Speed,
        Accuracy,
        TimePass,
        RecNo,
        State,
        Progress,
        Grade,
        Score,
        kColumns
    };
    // Progress as a number from 0 to 1, for a bar.
    static constexpr int ProgressRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QVector<ClassViewRow> rows);
    void setScale(const GradingScale &scale);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<ClassViewRow> m_rows;
    GradingScale m_scale = GradingScale::standard();
};
