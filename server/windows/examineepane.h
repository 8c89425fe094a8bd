// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 考生 tab of 历次考试: an examinee found by exam number and name,
// every kept exam of theirs in a table and their speed as a trend.
#include "control/historycontroller.h"

#include <QWidget>

class QChartView;
class QLineEdit;
class QStandardItemModel;

class ExamineePane : public QWidget
{
    Q_OBJECT

public:
    ExamineePane(console::HistoryController &history, QWidget *parent);

    void findExaminee(const QString &examNumber, const QString &name);
    QChartView *trend() const { return m_trend; }

signals:
    // What the examiner should be told: the archive's problem, or nobody found.
    void told(const QString &text);

private:
    void findTypedExaminee();

    console::HistoryController &m_history;
    QLineEdit *m_examNumber = nullptr;
    QLineEdit *m_name = nullptr;
    QStandardItemModel *m_historyRows = nullptr;
    QChartView *m_trend = nullptr;
};
