#include "examtext.h"

#include "gbk.h"
#include "paths.h"

#include <QDir>
#include <QFile>

QString examTextFromBytes(QByteArrayView gbkBytes)
{
    // Articles saved on any system: CR LF, a lone LF and a lone CR all end
    // a line.
    QString decoded = gbk::decode(gbkBytes);
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    decoded.replace(u'\r', u'\n');
    if (decoded.isEmpty())
        return decoded;
    if (!decoded.endsWith(u'\n'))
        decoded += u'\n';
    decoded.replace(u'\n', QLatin1String("\r\n"));
    return decoded;
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
