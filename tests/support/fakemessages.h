// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message boxes of either program, answered by the test: every text is
// recorded, and every question gets `answer`.
#include "exchange/messages.h"

#include <QStringList>

class FakeMessages : public Messages
{
public:
    void inform(QWidget *, const QString &text) override { informed.append(text); }
    bool confirm(QWidget *, const QString &text) override
    {
        asked.append(text);
        return answer;
    }
    QStringList informed, asked;
    bool answer = false;
};
