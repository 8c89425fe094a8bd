// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of the 历次考试 window: the exam under way on top (id 0), then
// the kept exams newest first, with date, article, time, examinees, mean
// speed, pass rate, lab and teacher; the console's own exams in bold.
#include "archive/archivedexam.h"
#include "stats/examsummary.h"

#include <QCoreApplication>
#include <QAbstractTableModel>

class ExamListModel : public QAbstractTableModel
{
    Q_DECLARE_TR_FUNCTIONS(ExamListModel)
public:
    enum Column { When, Article, Minutes, Examinees, MeanSpeed, PassRate, Lab, Teacher, kColumns };
    static constexpr int IdRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setExams(std::optional<ExamSummary> current, QVector<ExamSummary> kept);
    // The exam under way listed first; refreshes that row.
    bool hasCurrent() const { return m_withCurrent; }
    void setCurrent(const ExamSummary &current);
    // The login role whose exams are marked as the console's own; empty marks none.
    void setOwnRole(const QString &role);
    // The id of the exam on a row; 0 for the exam under way.
    qint64 idAt(int row) const;
    // The kept exams listed, newest first.
    QVector<ExamSummary> kept() const { return m_exams.mid(m_withCurrent ? 1 : 0); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool isOwn(int row) const;

    QVector<ExamSummary> m_exams;
    bool m_withCurrent = false;
    QString m_ownRole;
};

// The exam with only the rows of one department.
ArchivedExam onlyDepartment(ArchivedExam exam, const QString &department);
