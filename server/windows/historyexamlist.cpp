// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/historyexamlist.h"

#include "windows/examfilterbar.h"

#include "stats/examlistmodel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>

HistoryExamList::HistoryExamList(console::HistoryController &history, QWidget *window)
    : QObject(window), m_history(history)
{
    m_filters = new ExamFilterBar(window);
    connect(m_filters, &ExamFilterBar::changed, this, &HistoryExamList::filtersChanged);
    m_note = new QLabel(window);
    m_note->setObjectName(QStringLiteral("LblListNote"));
    m_note->setWordWrap(true);
    m_note->hide();

    m_exams = new ExamListModel(this);
    m_examList = new QTableView(window);
    m_examList->setObjectName(QStringLiteral("GridExams"));
    m_examList->setModel(m_exams);
    m_examList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_examList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_examList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_examList->verticalHeader()->hide();
    m_examList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The exam shown is the row highlighted, whether a click, a key or an
    // accessibility action chose it.
    connect(m_examList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryExamList::showChosenExam);
}

void HistoryExamList::setChoices(const QString &away)
{
    m_away = away;
    const bool school = m_history.showsSchool();
    m_exams->setOwnRole(school ? m_history.labRole() : QString());
    m_examList->setColumnHidden(ExamListModel::Lab, !school);
    m_examList->setColumnHidden(ExamListModel::Teacher, !school);
    m_history.filterChoices(this, [this, school](const ArchiveRead<ExamFilterChoices> &choices) {
        if (!choices.value)
            emit told(choices.problem);
        m_filters->setChoices(choices.value.value_or(ExamFilterChoices()), school);
    });
}

void HistoryExamList::listExams(qint64 keep, std::function<void()> listed)
{
    m_history.exams(
            m_filters->filter(), this,
            [this, keep, listed = std::move(listed)](const ArchiveRead<console::ExamList> &kept) {
                showExams(kept, keep);
                if (listed)
                    listed();
            });
}

void HistoryExamList::showExams(const ArchiveRead<console::ExamList> &kept, qint64 keep)
{
    const ArchiveRead<ArchivedExam> current = m_history.currentExam();
    std::optional<ExamSummary> live;
    if (current.value && underWay(*current.value))
        live = summaryOf(*current.value);
    if (!kept.value)
        emit told(kept.problem);
    m_exams->setExams(live, kept.value ? kept.value->exams : QVector<ExamSummary>());
    QStringList notes;
    if (!m_away.isEmpty())
        notes.append(tr("学校存档现在无法打开，列出的是本机的考试：") + m_away);
    if (kept.value && kept.value->more)
        notes.append(
                tr("只列出最近的%1场考试，请用上面的条件缩小范围。").arg(ExamListing::kMostListed));
    m_note->setText(notes.join(u'\n'));
    m_note->setVisible(!notes.isEmpty());
    int row = 0;
    for (int i = 0; i < m_exams->rowCount(); ++i) {
        if (m_exams->idAt(i) == keep)
            row = i;
    }
    if (m_exams->rowCount() > 0)
        m_examList->selectRow(row);
    else
        emit examChosen(-1);
}

bool HistoryExamList::followCurrentExam()
{
    const ArchiveRead<ArchivedExam> current = m_history.currentExam();
    const bool listed = current.value && underWay(*current.value);
    if (listed != m_exams->hasCurrent())
        return false;
    if (listed)
        m_exams->setCurrent(summaryOf(*current.value));
    return true;
}

ExamFilter HistoryExamList::filter() const
{
    return m_filters->filter();
}

QVector<ExamSummary> HistoryExamList::kept() const
{
    return m_exams->kept();
}

void HistoryExamList::showChosenExam()
{
    const QModelIndexList chosen = m_examList->selectionModel()->selectedRows();
    emit examChosen(chosen.isEmpty() ? -1 : m_exams->idAt(chosen.first().row()));
}
