// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard records are judged by (判定标准): one box per setting, under
// the mark it belongs to. 确定 stores it through the controller, or tells
// why it cannot be and stays open.
#include "control/examsettingscontroller.h"

#include <QDialog>
#include <QVector>

class QLineEdit;
class Messages;

class JudgingStandardDialog : public QDialog
{
    Q_OBJECT

public:
    JudgingStandardDialog(console::ExamSettingsController &controller, Messages *messages,
                          QWidget *parent);

protected:
    const QVector<QLineEdit *> &boxes() const { return m_boxes; }

private:
    void showStandard(const JudgingStandard &standard);
    void restoreDefaults();
    void store();

    console::ExamSettingsController &m_controller;
    Messages *m_messages;
    QVector<QLineEdit *> m_boxes;  // in JudgingStandard::settings() order
};
