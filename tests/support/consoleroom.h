// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's folders in a temporary folder, for the console's tests:
// app/ (the application folder, where the manual would be too), exchange/,
// cj.mdb and 文档/成绩导出 for exported workbooks.
#include "control/consolecontroller.h"
#include "exchange/examsettings.h"
#include "testfiles.h"
#include "exchange/transcode.h"

#include <QDir>
#include <QTemporaryDir>

struct ConsoleRoom
{
    ConsoleRoom()
    {
        if (!QDir(root.path()).mkdir(QStringLiteral("app"))
            || !QDir(root.path()).mkdir(QStringLiteral("exchange")))
            qFatal("cannot make the console's folders");
    }

    QString appFolder() const { return root.filePath(QStringLiteral("app")); }
    QString app(const QString &name) const { return QDir(appFolder()).filePath(name); }
    QString work(const QString &name) const { return root.filePath(name); }
    QString exchange(const QString &name) const { return QDir(exchangeFolder).filePath(name); }

    console::ConsoleFolders folders() const
    {
        return { appFolder(), appFolder(), exchangeFolder, databaseFile,
                 work(QStringLiteral("文档/成绩导出")) };
    }

    // The exam time in the published se.dll; 0 when it does not read back
    // as login allowed.
    qint16 publishedMinutes() const
    {
        const QByteArray published = readFile(exchange(QStringLiteral("se.dll")));
        const auto settings = readExamSettings(transcodeBytes(published, kExchangeKey));
        return settings.loginAllowed.value_or(false) ? settings.examMinutes.value_or(0) : 0;
    }

    QTemporaryDir root;
    QString exchangeFolder = root.filePath(QStringLiteral("exchange"));
    // cj.mdb, with the archive beside it.
    QString databaseFile = root.filePath(QStringLiteral("cj.mdb"));
};
