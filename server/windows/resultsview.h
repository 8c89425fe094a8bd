// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results view: the grid of the class (FrameCJ with DataGrid1, the
// progress drawn as bars) and below it the counts line with the export
// button (FrameCJ1). It shows what it is given and reports the export click.
#include "class/liveclass.h"
#include "grading/gradingscale.h"

#include <QWidget>

#include <optional>

class QGroupBox;
class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;
class ClassTableModel;

class ResultsView : public QWidget
{
    Q_OBJECT

public:
    explicit ResultsView(QWidget *parent);

    // Takes its place in the window; what the window has beyond its
    // classic size goes to the grid, the counts line stays below it.
    void place(const QSize &grown);

    void showRows(const QVector<ClassViewRow> &rows);
    // The scale the 等级 and 得分 columns follow.
    void showScale(const GradingScale &scale);
    // The results in the table (blank when unknown) and the class's counts.
    // `note` follows the counts (what happened to the published exam);
    // `detail`, the whole of its reason, is its tooltip. What does not fit
    // is cut with "…" and shown whole in the tooltip.
    void showCounts(std::optional<int> results, const ClassCounts &counts, bool withRoster,
                    const QString &note = {}, const QString &detail = {});
    // Instead of the counts: the automatic collection failed.
    void showCollectionFailure(const QString &problem);

signals:
    void exportRequested();
    // 重考 on a row of the grid, by its place among the rows shown.
    void retakeRequested(int row);
    // A double click on a row with a record, or 查看答卷 in its context menu.
    void answerSheetRequested(qint32 recNo);

private:
    void buildGrid();
    void requestAnswerSheet(const QModelIndex &index);
    void buildCountsLine();
    void requestRetake();
    void setLiveCounts(const QString &text, const QString &detail);
    void fitLiveCounts();

    QGroupBox *m_gridFrame = nullptr;
    QTableView *m_grid = nullptr;
    ClassTableModel *m_model = nullptr;
    QGroupBox *m_countsFrame = nullptr;
    QLabel *m_loggedInCount = nullptr;
    QLabel *m_liveCounts = nullptr;
    QString m_liveCountsText;  // whole, before it is cut to the label's width
    QString m_liveCountsDetail;
    QPushButton *m_exportButton = nullptr;
};
