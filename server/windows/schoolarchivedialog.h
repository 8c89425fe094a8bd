// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the console's archive goes (this computer, or the school's
// database by its URI), the lab and teacher that keep its exams, the
// connection tested, the password written into libpq's own file, the
// waiting exams sent now, and the exams kept before sent to the school once. The school controller
// does the work; the dialog shows it.
#include "control/schoolcontroller.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Messages;

class SchoolArchiveDialog : public QDialog
{
    Q_OBJECT

public:
    // The controller and the messages outlive the dialog.
    SchoolArchiveDialog(console::SchoolController &controller, Messages *messages, QWidget *parent);

private:
    void showPlaceChoice();
    void testConnection();
    void showTested(const QString &answer);
    void writePassword();
    void sendNow();
    void sendKeptBefore();
    void showSent(const SchoolOutbox::Report &report);
    void showAnswer(const QString &answer);
    void save();

    // The place as chosen: empty for this computer.
    QString chosenPlace() const;

    console::SchoolController &m_controller;
    Messages *m_messages;
    QRadioButton *m_thisComputer = nullptr;
    QRadioButton *m_school = nullptr;
    QLineEdit *m_place = nullptr;
    QLineEdit *m_lab = nullptr;
    QLineEdit *m_teacher = nullptr;
    QLineEdit *m_password = nullptr;
    QPushButton *m_test = nullptr;
    QLabel *m_answer = nullptr;
};
