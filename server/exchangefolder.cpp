#include "exchangefolder.h"

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString exchangeFolderMissingMessage(const QString &exchangeFolder)
{
    return QStringLiteral("Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为")
           + QDir::toNativeSeparators(exchangeFolder);
}

QStringList removeExchangeFiles(const QString &folder)
{
    QStringList failures;
    const QDir dir(folder);
    QStringList names = dir.entryList(QDir::Files, QDir::Name);
    // Result files whose names begin with a dot are collected, so they go
    // with the others; other hidden files stay.
    const QStringList hidden = dir.entryList({QStringLiteral(".*.zip")}, QDir::Files | QDir::Hidden);
    for (const QString &name : hidden) {
        if (!names.contains(name))
            names << name;
    }
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.remove())
            failures << name + QStringLiteral("：") + file.errorString();
    }
    return failures;
}

QString clearExchangeFolder(const QString &folder, const QStringList &ownFolders)
{
    if (!paths::exchangeFolderIsReady(folder))
        return exchangeFolderMissingMessage(folder);
    // Canonical paths see through links and "..".
    const QString exchange = QFileInfo(folder).canonicalFilePath();
    for (const QString &own : ownFolders) {
        if (exchange == QFileInfo(own).canonicalFilePath())
            return QStringLiteral("交换文件夹就是本程序的文件夹，为保护程序和设置文件，没有删除任何文件：")
                   + QDir::toNativeSeparators(exchange);
    }
    const QStringList failures = removeExchangeFiles(folder);
    if (failures.isEmpty())
        return {};
    return QStringLiteral("以下文件无法删除，请关闭占用它们的程序后再清空一次：\n")
           + failures.join(QLatin1Char('\n'));
}
