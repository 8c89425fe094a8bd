// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/inputmethods.h"

QString plainKeyboardEntry()
{
    return QStringLiteral("English (American)");
}

#ifdef Q_OS_WIN

#include "exchange/gbk.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <imm.h>

namespace {

// The layouts of the calling thread as the system lists them, with the
// description of each input method, as the keyboard-layout and IMM calls
// give them.
class WindowsInputMethods : public InputMethods
{
public:
    WindowsInputMethods()
    {
        const HKL startLayout = GetKeyboardLayout(0);
        m_layoutCount = GetKeyboardLayoutList(kMaxLayouts, m_layouts);
        if (m_layoutCount < 0)
            m_layoutCount = 0;
        for (int i = 0; i < m_layoutCount; ++i) {
            if (ImmIsIME(m_layouts[i])) {
                char description[256] = {};
                const UINT length = ImmGetDescriptionA(m_layouts[i], description, 255);
                m_entries.append(gbk::decode(
                        QByteArrayView(description, qsizetype(length < 256 ? length : 255))));
            } else {
                m_entries.append(plainKeyboardEntry());
            }
        }
        // Building the list leaves the layout the window opened with.
        ActivateKeyboardLayout(startLayout, 0);
    }

    QStringList entries() const override { return m_entries; }

    void activate(int index) override
    {
        if (index >= 0 && index < m_layoutCount)
            ActivateKeyboardLayout(m_layouts[index], 0);
    }

private:
    static constexpr int kMaxLayouts = 25;
    HKL m_layouts[kMaxLayouts] = {};
    int m_layoutCount = 0;
    QStringList m_entries;
};

}  // namespace

std::unique_ptr<InputMethods> createSystemInputMethods()
{
    return std::make_unique<WindowsInputMethods>();
}

#else

#include "exam/fcitxinputmethods.h"

std::unique_ptr<InputMethods> createSystemInputMethods()
{
    return std::make_unique<Fcitx5InputMethods>(QDBusConnection::sessionBus());
}

#endif
