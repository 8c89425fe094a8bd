// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/consolehooks.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

QString ConsoleHooks::chooseDocumentsFile(QWidget *parent, const QString &suggestedName,
                                          const QString &filter) const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return chooseSaveFile(parent, QDir(documents).filePath(suggestedName), filter);
}

ConsoleHooks ConsoleHooks::desktop()
{
    ConsoleHooks hooks;
    hooks.chooseArticle = [](QWidget *parent, const QString &initialFolder) {
        return QFileDialog::getOpenFileName(parent, QString(), initialFolder, articleFilter());
    };
    hooks.chooseRoster = [](QWidget *parent, const QString &initialFolder) {
        return QFileDialog::getOpenFileName(parent, tr("载入考生名单"), initialFolder,
                                            rosterFilter());
    };
    hooks.chooseFolder = [](QWidget *parent, const QString &initialFolder) {
        return QFileDialog::getExistingDirectory(parent, tr("选择交换文件夹"), initialFolder);
    };
    hooks.chooseSaveFile = [](QWidget *parent, const QString &suggested, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, QString(), suggested, filter);
    };
    hooks.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return hooks;
}
