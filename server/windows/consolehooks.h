// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the console asks of the desktop: the file and folder dialogs and the
// shell's "open". Tests put recorders in their place.
#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

struct ConsoleHooks
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleHooks)

public:
    // The open-file dialog for articles; an empty name when cancelled.
    std::function<QString(QWidget *parent, const QString &initialFolder)> chooseArticle;
    // The open-file dialog for a class list; an empty name when cancelled.
    std::function<QString(QWidget *parent, const QString &initialFolder)> chooseRoster;
    // The folder dialog for the exchange folder; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &initialFolder)> chooseFolder;
    // The save-file dialog (backups, charts, reports), starting at the
    // suggested path; an empty name when cancelled.
    std::function<QString(QWidget *parent, const QString &suggested, const QString &filter)>
            chooseSaveFile;
    // The save-file dialog starting at `suggestedName` in the documents folder.
    QString chooseDocumentsFile(QWidget *parent, const QString &suggestedName,
                                const QString &filter) const;
    // Opens a file or link with the desktop's program for it.
    std::function<bool(const QUrl &url)> openUrl;

    // The filter of the article dialog: one entry, shown as "文本文件 *.txt".
    // Without parentheses Qt takes every word as a pattern, so *.txt filters.
    static QString articleFilter() { return tr("文本文件 *.txt"); }

    static QString rosterFilter() { return tr("考生名单 (*.xlsx *.csv *.txt)"); }

    static ConsoleHooks desktop();
};
