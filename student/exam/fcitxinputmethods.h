// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input methods of a running Fcitx 5, through its D-Bus controller: the
// engines of its current group under their display names (拼音,
// 键盘 - 英语（美国）), and switching the engine.
#include "exam/inputmethods.h"

#include <QDBusConnection>

class Fcitx5InputMethods : public InputMethods
{
public:
    // Asks the Fcitx 5 on this bus; where none answers the list stays empty.
    explicit Fcitx5InputMethods(const QDBusConnection &bus);

    QStringList entries() const override { return m_entries; }
    // Makes the engine current for the window that has the focus.
    void activate(int index) override;

private:
    QDBusConnection m_bus;
    QStringList m_engines;  // Fcitx 5's own name of each entry ("pinyin")
    QStringList m_entries;
};
