// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The typing window's choice of input method (Combo1 and its label): the
// list of the system's input methods, hidden when there is nothing to
// switch; the entry chosen before the start applied when typing begins; one
// chosen during the exam applied once the typing box has the focus back.
#include <QObject>

#include <memory>

class InputMethods;
class QComboBox;
class QLabel;
class QWidget;

class InputMethodSwitch : public QObject
{
    Q_OBJECT

public:
    InputMethodSwitch(std::unique_ptr<InputMethods> methods, QLabel *label, QComboBox *list,
                      QWidget *typingBox);
    ~InputMethodSwitch() override;

    // Typing begins: the entry chosen before, or the first.
    void applyChosen();
    // An entry chosen while the examinee types.
    void chooseWhileTyping(int index);

private:
    // The input method learns of the list's window only after it has
    // closed; the switch waits this long for that news.
    static constexpr int kSettleMillis = 300;

    void onFocusObjectChanged(QObject *focused);

    std::unique_ptr<InputMethods> m_methods;
    QComboBox *m_list;
    QWidget *m_typingBox;
    // The entry waiting for the typing box to have the focus; -1 for none.
    int m_waiting = -1;
};
