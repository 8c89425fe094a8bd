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
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.remove())
            failures << name + QStringLiteral("：") + file.errorString();
    }
    return failures;
}
