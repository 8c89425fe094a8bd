// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 考生 tab of 历次考试: an examinee picked from those the archive
// knows (typing part of a number or name offers the matches) or found by
// exact exam number and name, every kept exam of theirs in a table and
// their speed as a trend.
#include "control/historycontroller.h"

#include <QWidget>

class QChartView;
class QCompleter;
class QLineEdit;
class QStandardItemModel;

class ExamineePane : public QWidget
{
    Q_OBJECT

public:
    ExamineePane(console::HistoryController &history, QWidget *parent);

    // The examinees there are to pick from are read again when the tab is
    // next shown: over a school archive that reads every row kept.
    void refresh();
    void findExaminee(const QString &examNumber, const QString &name);
    QChartView *trend() const { return m_trend; }
    // Whose trend is shown; empty when none.
    QString shownExaminee() const { return m_shownExaminee; }
    // Saves the trend as a picture; the problem or empty.
    QString saveTrend(const QString &path) const;

signals:
    // What the examiner should be told: the archive's problem, or nobody found.
    void told(const QString &text);

protected:
    QCompleter *picker() const { return m_picker; }
    void showEvent(QShowEvent *event) override;

private:
    void readKnown();
    void showKnown(const ArchiveRead<QVector<KnownExaminee>> &known);
    void showHistory(const QString &examNumber, const QString &name,
                     const ArchiveRead<QVector<HistoryPoint>> &history);
    void findTypedExaminee();
    void pickExaminee(const QModelIndex &picked);

    console::HistoryController &m_history;
    QLineEdit *m_pick = nullptr;
    QStandardItemModel *m_known = nullptr;
    bool m_knownRead = false;  // m_known holds the archive's examinees as they are now
    QCompleter *m_picker = nullptr;
    QLineEdit *m_examNumber = nullptr;
    QLineEdit *m_name = nullptr;
    QString m_shownExaminee;
    QStandardItemModel *m_historyRows = nullptr;
    QChartView *m_trend = nullptr;
};
