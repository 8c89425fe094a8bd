// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings panel (FrameSet): the exam time, the exchange folder, the
// exam text with its length, where the console keeps its data, where its
// archive goes, and the buttons to save or cancel. Its buttons go to the exam settings
// controller; the dialogs and boxes are the panel's.
#include "control/examsettingscontroller.h"
#include "control/schoolcontroller.h"
#include "windows/consolehooks.h"

#include <QGroupBox>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class Messages;

class SettingsPanel : public QGroupBox
{
    Q_OBJECT

public:
    // The hooks and the messages are the window's and outlive the panel.
    SettingsPanel(console::ExamSettingsController &controller, console::SchoolController &school,
                  const ConsoleHooks &hooks, Messages *messages, QWidget *parent);

    // Shows the panel with the stored exam text.
    void open();
    // What the window has beyond its classic size: the text box takes it,
    // the controls right of or below the box move with its edges.
    void place(const QSize &grown);

signals:
    // The settings were saved or the examiner cancelled.
    void closed();

private:
    // How a control follows the window's growth.
    enum Follow { Stays = 0, MovesRight = 1, MovesDown = 2, Widens = 4, Heightens = 8 };
    struct Placed
    {
        QWidget *widget;
        QRect classic;
        int follow;
    };
    // Remembers the control's geometry as its classic place.
    template <typename Control>
    Control *placed(Control *control, int follow);

    void buildTimeFrame(const QFont &windowFont);
    void buildTextFrame(const QFont &windowFont);
    void buildDataLine(const QFont &windowFont);
    void buildLoginCodesChoice(QWidget *frame);

    void chooseArticle();
    void chooseExchangeFolder();
    void openDataFolder();
    void editGradingScale();
    void editJudgingStandard();
    void editSchoolArchive();
    void save();
    void cancel();

    void showMinutes();
    void showLoginCodesChoice();
    QString saveLoginCodesChoice();
    void showFolders();
    // The text as the files have it, CR LF line ends included.
    void showExamText(const QString &text);
    void showTextLength();
    void tell(const QString &text);

    console::ExamSettingsController &m_controller;
    console::SchoolController &m_school;
    const ConsoleHooks &m_hooks;
    Messages *m_messages;

    QComboBox *m_examMinutes = nullptr;
    QLabel *m_exchangeFolder = nullptr;
    QLabel *m_dataFolder = nullptr;
    QPlainTextEdit *m_examText = nullptr;
    QLabel *m_textLength = nullptr;
    QCheckBox *m_loginCodes = nullptr;
    QVector<Placed> m_placed;
};
