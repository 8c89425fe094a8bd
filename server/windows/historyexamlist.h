// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of 历次考试 with what chooses it: the filters, a note when the
// school archive is away or more exams matched than are listed, and the
// exams the filters choose, the one under way first, then the kept ones
// newest first (over a school archive with their lab and teacher, this
// console's own in bold). The window places the three widgets.
#include "control/historycontroller.h"

#include <QObject>

#include <functional>

class ExamFilterBar;
class ExamListModel;
class QLabel;
class QTableView;

class HistoryExamList : public QObject
{
    Q_OBJECT

public:
    // The widgets are made children of `window`.
    HistoryExamList(console::HistoryController &history, QWidget *window);

    // Reads the filters' choices again and, over a school archive, shows
    // the lab and teacher; `away` is why the school archive could not be opened.
    void setChoices(const QString &away);
    // Lists the exams the filters choose, in two queries, choosing `keep`
    // again when it is still listed, else the first; `listed` is called
    // once they are shown.
    void listExams(qint64 keep, std::function<void()> listed = {});
    // The exam under way moved on: its entry follows. False when it
    // appeared or went, so the list must be read again.
    bool followCurrentExam();

    ExamFilter filter() const;
    // The kept exams listed, newest first.
    QVector<ExamSummary> kept() const;
    ExamFilterBar *filterBar() const { return m_filters; }
    QLabel *note() const { return m_note; }
    QTableView *examList() const { return m_examList; }

signals:
    // A filter changed.
    void filtersChanged();
    // The exam chosen in the list: 0 for the one under way, -1 for none.
    void examChosen(qint64 id);
    // What the examiner should be told: the archive's problem.
    void told(const QString &text);

private:
    void showExams(const ArchiveRead<console::ExamList> &kept, qint64 keep);
    void showChosenExam();

    console::HistoryController &m_history;
    ExamFilterBar *m_filters = nullptr;
    QLabel *m_note = nullptr;
    QString m_away;
    ExamListModel *m_exams = nullptr;
    QTableView *m_examList = nullptr;
};
