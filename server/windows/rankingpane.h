// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 排名 tab of 历次考试: the exam's examinees ranked; a double-click
// asks for that examinee's history.
#include "archive/archivedexam.h"

#include <QTableView>

class RankingModel;

class RankingPane : public QTableView
{
    Q_OBJECT

public:
    explicit RankingPane(QWidget *parent);

    // The exam ranked; none clears the table.
    void showExam(const ArchivedExam *exam);

signals:
    void examineeChosen(const QString &examNumber, const QString &name);

private:
    void chooseExaminee(const QModelIndex &ranked);

    RankingModel *m_rows = nullptr;
};
