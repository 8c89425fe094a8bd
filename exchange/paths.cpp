#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace paths {

QString defaultExchangeFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("d:\\typedata");
#else
    return QStringLiteral("/srv/typedata");
#endif
}

QString exchangeFolder()
{
    const QString overridden = qEnvironmentVariable("KESTRIX_EXCHANGE_DIR");
    return overridden.isEmpty() ? defaultExchangeFolder() : overridden;
}

bool exchangeFolderIsReady(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    if (QDir::cleanPath(folder) != QDir::cleanPath(QDir::fromNativeSeparators(defaultExchangeFolder())))
        return true;
    return info.fileName().compare(QLatin1String("typedata"), Qt::CaseInsensitive) == 0;
}

QString applicationFolder(const QString &programFolder)
{
    const QString overridden = qEnvironmentVariable("KESTRIX_APP_DIR");
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return overridden;
    }
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(dataFolder);
    return dataFolder;
}

bool hasFileNamed(const QString &folder, const QString &name)
{
    const QStringList found = QDir(folder).entryList({name}, QDir::Files | QDir::Hidden | QDir::System);
    return found.contains(name, Qt::CaseSensitive);
}

}  // namespace paths
