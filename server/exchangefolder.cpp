#include "exchangefolder.h"

#include <QDir>
#include <QFile>

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
