#include "exchangefolder.h"

#include <QDir>
#include <QFile>

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
