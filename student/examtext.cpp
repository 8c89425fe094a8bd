#include "examtext.h"

#include "gbk.h"
#include "paths.h"
#include "recordlines.h"

#include <QDir>
#include <QFile>

QString examTextFromBytes(QByteArrayView gbkBytes)
{
    QString text;
    text.reserve(gbkBytes.size() + 2);
    const QStringList lines = splitRecordLines(gbk::decode(gbkBytes));
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return text;
}

std::optional<QString> readExamText(const QString &folder)
{
    const QString name = paths::examTextFileName();
    if (!paths::hasFileNamed(folder, name))
        return std::nullopt;
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return examTextFromBytes(file.readAll());
}
