// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace paths {

QString defaultExchangeFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("d:\\typedata");
#else
    return QStringLiteral("/srv/typedata");
#endif
}

QString exchangeFolder(const QString &chosen)
{
    const QString overridden = qEnvironmentVariable("KESTRIX_EXCHANGE_DIR");
    if (!overridden.isEmpty())
        return overridden;
    return chosen.isEmpty() ? defaultExchangeFolder() : chosen;
}

bool exchangeFolderIsReady(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    if (QDir::cleanPath(folder)
        != QDir::cleanPath(QDir::fromNativeSeparators(defaultExchangeFolder())))
        return true;
    return info.fileName().compare(QLatin1String("typedata"), Qt::CaseInsensitive) == 0;
}

namespace {

// Tried by creating a file: on Windows the folder's attributes say nothing
// about whether its access rights let this user write (Program Files).
bool acceptsNewFiles(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("kestrix-probe-XXXXXX")));
    return probe.open();
}

QString writableOrUserData(const QString &folder)
{
    if (acceptsNewFiles(folder))
        return folder;
    const QString dataFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(dataFolder);
    return dataFolder;
}

}  // namespace

QString applicationFolder(const QString &programFolder)
{
    const QString overridden = qEnvironmentVariable("KESTRIX_APP_DIR");
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return overridden;
    }
    return writableOrUserData(programFolder);
}

QString workingFolder(const QString &startFolder)
{
    return writableOrUserData(startFolder);
}

bool hasFileNamed(const QString &folder, const QString &name)
{
    const QStringList found =
            QDir(folder).entryList({ name }, QDir::Files | QDir::Hidden | QDir::System);
    return found.contains(name, Qt::CaseSensitive);
}

}  // namespace paths
