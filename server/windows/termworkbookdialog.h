// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 年级学期报告: the term and the classes its workbook covers, picked from
// what the archive 历次考试 shows holds (every lab's classes over a school
// archive). 生成 is enabled once a class is ticked.
#include "archive/examlisting.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

class TermWorkbookDialog : public QDialog
{
    Q_OBJECT

public:
    // `school`: the choices come from the school's archive, not this computer's file.
    TermWorkbookDialog(const ExamFilterChoices &choices, bool school, QWidget *parent);

    SchoolTerm term() const;
    // The ticked classes, in the list's order.
    QStringList classes() const;

private:
    void tickEveryClass();
    void tickNoClass();
    void tickAll(bool ticked);
    void classTicked();

    QVector<SchoolTerm> m_terms;
    QComboBox *m_termBox = nullptr;
    QListWidget *m_classes = nullptr;
    QPushButton *m_generate = nullptr;
};
