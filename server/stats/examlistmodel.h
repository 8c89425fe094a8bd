// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of the 历次考试 window: the exam under way on top (id 0), then
// the kept exams newest first, with date, article, time, examinees, mean
// speed and pass rate.
#include "archive/archivedexam.h"
#include "stats/examsummary.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

class ExamListModel : public QAbstractTableModel
{
public:
    enum Column { When, Article, Minutes, Examinees, MeanSpeed, PassRate, kColumns };
    static constexpr int IdRole = Qt::UserRole + 1;
    // The exam's departments, a QStringList.
    static constexpr int DepartmentsRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    void setExams(std::optional<ExamSummary> current, QVector<ExamSummary> kept);
    // The exam under way listed first; refreshes that row.
    bool hasCurrent() const { return m_withCurrent; }
    void setCurrent(const ExamSummary &current);
    // The id of the exam on a row; 0 for the exam under way.
    qint64 idAt(int row) const;
    // Every department of the listed exams, in order of first appearance.
    QStringList departments() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<ExamSummary> m_exams;
    bool m_withCurrent = false;
};

// The list as searched: the text in any column, and when a department is
// chosen, only the exams it sat.
class ExamListFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setDepartment(const QString &department);
    const QString &department() const { return m_department; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString m_department;
};

// The exam with only the rows of one department.
ArchivedExam onlyDepartment(ArchivedExam exam, const QString &department);
