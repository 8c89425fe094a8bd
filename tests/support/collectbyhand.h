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

// What the console tells through `told` after `command`, once the
// collections under way have been shown; a text no test expects when
// nothing was told, or `what` did not end within a minute.
template <typename Signal>
QString toldOnceCollected(console::ConsoleController &controller, Signal told,
                          const std::function<void()> &command, const QString &what)
{
    QSignalSpy spy(&controller, told);
    command();
    if (!controller.waitForCollection(QDeadlineTimer(60'000)))
        return what + QStringLiteral("一分钟内没有结束");
    return spy.isEmpty() ? what + QStringLiteral("没有开始") : spy.first().first().toString();
}

inline QString collectByHand(console::ConsoleController &controller,
                             const std::function<void()> &command)
{
    return toldOnceCollected(controller, &console::ConsoleController::collectedByHand, command,
                             QStringLiteral("获取成绩"));
}

inline QString collectByHand(console::ConsoleController &controller)
{
    return collectByHand(controller, [&controller] { controller.collectResults(); });
}
