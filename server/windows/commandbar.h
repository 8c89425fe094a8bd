// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's toolbar (Toolbar1): one button per command, an image over
// its caption. The window adds the commands and connects each to its slot.
#include <QToolBar>

class CommandBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CommandBar(QWidget *parent);

    // Widens the bar by what the window has beyond its classic width.
    void place(int wider);
    // A command whose button is named `name`, showing the toolbar image `image`.
    QAction *addCommand(const char *name, const QString &caption, const QString &toolTip,
                        const QString &image);
    // 允许登录 / 禁止登录, shown closed.
    QAction *addLoginCommand(const char *name);
    // A command whose button only opens `menu`.
    QAction *addMenuCommand(const char *name, const QString &caption, const QString &toolTip,
                            const QString &image, QMenu *menu);
    // The image and texts of a command that changes with the state.
    static void showCommand(QAction *action, const QString &caption, const QString &toolTip,
                            const QString &image);
    // The login command as the gate is: open offers to close it, closed to open it.
    static void showLoginCommand(QAction *action, bool open);
};
