// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The filters above the list of 历次考试: the article or date searched
// for, and the class whose exams are listed.
#include <QWidget>

class QComboBox;
class QLineEdit;

class ExamFilterBar : public QWidget
{
    Q_OBJECT

public:
    explicit ExamFilterBar(QWidget *parent);

    // The classes there are to choose from; the one chosen stays chosen
    // while it is among them.
    void setDepartments(const QStringList &departments);
    // The class chosen; empty for every class.
    QString department() const;

signals:
    void searchChanged(const QString &text);
    void departmentChosen(const QString &department);

private:
    void chooseDepartment();

    QLineEdit *m_search = nullptr;
    QComboBox *m_class = nullptr;
};
