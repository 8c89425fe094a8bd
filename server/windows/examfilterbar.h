// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The filters above the list of 历次考试: the article or day searched
// for, the class and the term; over a school archive also the lab and the
// teacher.
#include "archive/examlisting.h"

#include <QTimer>
#include <QWidget>

class QComboBox;
class QLineEdit;

class ExamFilterBar : public QWidget
{
    Q_OBJECT

public:
    explicit ExamFilterBar(QWidget *parent);

    // What there is to choose from; what was chosen stays chosen while it
    // is among them. The lab and teacher are offered over a school archive.
    void setChoices(const ExamFilterChoices &choices, bool school);
    ExamFilter filter() const;

signals:
    // A filter changed; the search once typing pauses.
    void changed();

private:
    // A choice showing `signs` signs of its value.
    QComboBox *addChoice(const QString &caption, const char *name, int signs);

    QLineEdit *m_search = nullptr;
    QTimer m_searchPause;
    QComboBox *m_lab = nullptr;
    QComboBox *m_teacher = nullptr;
    QComboBox *m_class = nullptr;
    QComboBox *m_term = nullptr;
    QVector<SchoolTerm> m_terms;
};
