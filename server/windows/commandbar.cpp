// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/commandbar.h"

#include "windows/pictures.h"
#include "windows/twips.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

// In twips: the bar across the classic window.
constexpr int kClassicWidth = 10080;
constexpr int kHeight = 870;
// In pixels.
constexpr int kImageSide = 32;
constexpr int kButtonWidth = 64;

}  // namespace

CommandBar::CommandBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setGeometry(twips::rect(0, 0, kClassicWidth, kHeight));
    setIconSize(QSize(kImageSide, kImageSide));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setMovable(false);
    setFloatable(false);
}

void CommandBar::place(int wider)
{
    resize(twips::px(kClassicWidth) + wider, height());
}

QAction *CommandBar::addCommand(const char *name, const QString &caption, const QString &toolTip,
                                const QString &image)
{
    QAction *action = addAction(caption);
    showCommand(action, caption, toolTip, image);
    // The button keeps the command's name, and the width and the keyboard
    // focus a button of its own would have.
    QWidget *button = widgetForAction(action);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(kButtonWidth);
    button->setFocusPolicy(Qt::TabFocus);
    return action;
}

QAction *CommandBar::addMenuCommand(const char *name, const QString &caption,
                                    const QString &toolTip, const QString &image, QMenu *menu)
{
    QAction *action = addCommand(name, caption, toolTip, image);
    action->setMenu(menu);
    auto *button = qobject_cast<QToolButton *>(widgetForAction(action));
    menu->setParent(button, menu->windowFlags());
    // The face of the button has no command of its own: it opens the menu.
    button->setPopupMode(QToolButton::InstantPopup);
    return action;
}

void CommandBar::showCommand(QAction *action, const QString &caption, const QString &toolTip,
                             const QString &image)
{
    action->setText(caption);
    action->setToolTip(toolTip);
    action->setIcon(pictures::toolbarImage(image));
}

QAction *CommandBar::addLoginCommand(const char *name)
{
    QAction *action = addCommand(name, QString(), QString(), QStringLiteral("begin"));
    showLoginCommand(action, false);
    return action;
}

void CommandBar::showLoginCommand(QAction *action, bool open)
{
    if (open)
        showCommand(action, tr("禁止登录"), tr("禁止考生登录服务器，但不影响已开始考试的考生"),
                    QStringLiteral("stop"));
    else
        showCommand(action, tr("允许登录"), tr("允许考生登录服务器以开始考试"),
                    QStringLiteral("begin"));
}
