// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 获取成绩 for the tests: starts a collection by hand (the controller's
// command, or `command` such as a click on the window's button) and waits
// for what it tells the examiner, without turning the event loop (windows
// keep the focus they had). A collection that does not answer within a
// minute gives a text no test expects.
#include "control/consolecontroller.h"

#include <QSignalSpy>

#include <functional>

inline QString collectByHand(console::ConsoleController &controller,
                             const std::function<void()> &command)
{
    QSignalSpy told(&controller, &console::ConsoleController::collectedByHand);
    command();
    if (!controller.waitForCollection(QDeadlineTimer(60'000)))
        return QStringLiteral("获取成绩一分钟内没有结束");
    return told.isEmpty() ? QStringLiteral("获取成绩没有开始") : told.first().first().toString();
}

inline QString collectByHand(console::ConsoleController &controller)
{
    return collectByHand(controller, [&controller] { controller.collectResults(); });
}
