// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/inputmethodswitch.h"

#include "exam/inputmethods.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

#include <utility>

InputMethodSwitch::InputMethodSwitch(std::unique_ptr<InputMethods> methods, QLabel *label,
                                     QComboBox *list, QWidget *typingBox)
    : m_methods(std::move(methods)), m_list(list), m_typingBox(typingBox)
{
    connect(qApp, &QGuiApplication::focusObjectChanged, this,
            &InputMethodSwitch::onFocusObjectChanged);
    const QStringList entries = m_methods->entries();
    m_list->addItems(entries);
    m_list->setCurrentIndex(-1);
    // With nothing to switch, every choice would do nothing.
    label->setHidden(entries.isEmpty());
    m_list->setHidden(entries.isEmpty());
}

InputMethodSwitch::~InputMethodSwitch() = default;

void InputMethodSwitch::applyChosen()
{
    const int chosen = m_list->currentIndex();
    m_methods->activate(chosen < 0 ? 0 : chosen);
}

void InputMethodSwitch::chooseWhileTyping(int index)
{
    // The choice goes to the typing box, but the list closes before the
    // focus is back in the window, and the input method switches the window
    // with the focus.
    m_waiting = index;
    m_typingBox->setFocus();
    onFocusObjectChanged(QGuiApplication::focusObject());
}

void InputMethodSwitch::onFocusObjectChanged(QObject *focused)
{
    if (m_waiting < 0 || focused != m_typingBox)
        return;
    QTimer::singleShot(kSettleMillis, this, [this] {
        if (m_waiting >= 0 && QGuiApplication::focusObject() == m_typingBox)
            m_methods->activate(std::exchange(m_waiting, -1));
    });
}
