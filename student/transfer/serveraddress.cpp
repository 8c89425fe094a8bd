// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/serveraddress.h"

#include "exchange/recordlines.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QCoreApplication>

namespace {

ServerAddressReading unusable(const QString &typed)
{
    return {
        std::nullopt,
        QCoreApplication::translate("ServerAddress", "服务器地址“%1”无法使用").arg(typed.trimmed())
    };
}

bool isFolderName(const QString &name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

}  // namespace

QByteArray ServerAddress::baseUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(host);
    url.setPort(port);
    QByteArray base =
            url.toEncoded(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment) + '/';
    for (const QString &name : folder)
        base += QUrl::toPercentEncoding(name) + '/';
    return base;
}

ServerAddressReading parseServerAddress(const QString &typed)
{
    QString text = typed.trimmed();
    const QLatin1String scheme("ftp://");
    if (text.startsWith(scheme, Qt::CaseInsensitive))
        text.remove(0, scheme.size());
    // Another scheme names another kind of service.
    if (text.contains(QLatin1String("://")))
        return unusable(typed);
    // Windows users write folders with backslashes.
    text.replace(u'\\', u'/');
    const qsizetype slash = text.indexOf(u'/');
    const QString authority = slash < 0 ? text : text.left(slash);
    if (authority.isEmpty() || authority.endsWith(u':'))
        return unusable(typed);

    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setAuthority(authority, QUrl::StrictMode);
    // Credentials and anything the host name cannot hold make no address.
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.port() == 0
        || authority.contains(u'@'))
        return unusable(typed);

    ServerAddress address;
    address.host = url.host();
    address.port = url.port();
    if (slash >= 0) {
        address.folder = text.mid(slash + 1).split(u'/', Qt::SkipEmptyParts);
        for (const QString &name : std::as_const(address.folder)) {
            if (!isFolderName(name))
                return unusable(typed);
        }
    }
    return { address, {} };
}

namespace {

QString addressFile(const QString &workingFolder)
{
    return QDir(workingFolder).filePath(QStringLiteral("ip.txt"));
}

}  // namespace

QString keptServerAddress(const QString &workingFolder)
{
    QFile file(addressFile(workingFolder));
    const QByteArray stored = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const std::optional<QString> line = RecordReader(stored).line(0);
    // The one value stands between double quotes; anything else holds none.
    if (!line || line->size() < 2 || !line->startsWith(u'"') || !line->endsWith(u'"'))
        return {};
    return line->mid(1, line->size() - 2);
}

void keepServerAddress(const QString &workingFolder, const QString &typed)
{
    wholefile::write(addressFile(workingFolder), RecordWriter().text(typed).bytes());
}
