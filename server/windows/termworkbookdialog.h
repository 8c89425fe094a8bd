// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 年级学期报告: the term and the classes its workbook covers, picked from
// what the archive 历次考试 shows holds (every lab's classes over a school
// archive). The classes listed are those that sat an exam in the chosen
// term, read anew when the term changes. 生成 is enabled once a class is
// ticked.
#include "control/historycontroller.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class TermWorkbookDialog : public QDialog
{
    Q_OBJECT

public:
    // Asks for the classes of a term; the answer comes to `done` while `context` lives.
    using ClassesOf = std::function<void(const SchoolTerm &term, QObject *context,
                                         console::Answer<QStringList> done)>;

    // `school`: the classes come from the school's archive, not this computer's file.
    TermWorkbookDialog(const QVector<SchoolTerm> &terms, bool school, ClassesOf classesOf,
                       QWidget *parent);

    SchoolTerm term() const;
    // The ticked classes, in the list's order.
    QStringList classes() const;

private:
    void readClasses();
    void showClasses(const SchoolTerm &term, const ArchiveRead<QStringList> &classes);
    void tickEveryClass();
    void tickNoClass();
    void tickAll(bool ticked);
    void classTicked();

    QVector<SchoolTerm> m_terms;
    ClassesOf m_classesOf;
    QComboBox *m_termBox = nullptr;
    QLabel *m_classesNote = nullptr;
    QListWidget *m_classes = nullptr;
    QPushButton *m_generate = nullptr;
};
