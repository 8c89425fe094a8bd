// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard layouts and input methods the examinee can choose from, and
// switching to one when the exam starts. The typing window sees only this
// interface; each desktop has its own implementation.
#include <QString>
#include <QStringList>

#include <memory>

class InputMethods
{
public:
    virtual ~InputMethods() = default;

    // One entry per layout or input method, in the system's order; empty
    // where there is nothing the program can switch.
    virtual QStringList entries() const = 0;
    // Switches to entry index; an index outside the list does nothing.
    virtual void activate(int index) = 0;
};

// The text of an entry that is a plain keyboard layout, not an input method.
QString plainKeyboardEntry();

// The implementation for the desktop the program runs on: the Win32 layouts
// on Windows, elsewhere the engines of a running Fcitx 5.
std::unique_ptr<InputMethods> createSystemInputMethods();
