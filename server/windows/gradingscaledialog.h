// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grading scale (评分标准) as a table the examiner edits: one row per
// grade, highest first. 确定 stores it through the controller, or tells
// why it cannot be and stays open.
#include "control/examsettingscontroller.h"

#include <QDialog>

class QTableWidget;
class Messages;

class GradingScaleDialog : public QDialog
{
    Q_OBJECT

public:
    GradingScaleDialog(console::ExamSettingsController &controller, Messages *messages,
                       QWidget *parent);

protected:
    QTableWidget *table() const { return m_table; }

private:
    void showScale(const GradingScale &scale);
    void addGrade();
    void removeGrade();
    void restoreStandard();
    void store();

    console::ExamSettingsController &m_controller;
    Messages *m_messages;
    QTableWidget *m_table = nullptr;
};
