// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archiveplace.h"

#include <QDir>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace {

// A server that does not answer is given up after this many seconds, so
// that a console on a cut network does not hang.
constexpr int kConnectSeconds = 5;

bool isSchoolUri(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
            || text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

}  // namespace

ArchivePlace ArchivePlace::fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    return ArchivePlace(trimmed, isSchoolUri(trimmed));
}

QString ArchivePlace::shown() const
{
    if (!m_school)
        return QDir::toNativeSeparators(m_text);
    return QUrl(m_text).toString(QUrl::RemovePassword);
}

QString ArchivePlace::driverName() const
{
    return m_school ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QString ArchivePlace::configure(QSqlDatabase &db, int busyMillis) const
{
    if (!m_school) {
        db.setDatabaseName(m_text);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMillis));
        return {};
    }
    const QUrl url(m_text, QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || database.isEmpty() || database.contains(u'/'))
        return QStringLiteral("不是有效的数据库地址（应如 postgresql://用户@服务器:5432/数据库）");
    db.setHostName(url.host());
    if (url.port() > 0)
        db.setPort(url.port());
    db.setDatabaseName(database);
    db.setUserName(url.userName());
    if (!url.password().isEmpty())
        db.setPassword(url.password());
    // Options of the URI (sslmode, ...) pass on to libpq as they are.
    QStringList options { QStringLiteral("connect_timeout=%1").arg(kConnectSeconds) };
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << key + u'=' + value;
    db.setConnectOptions(options.join(u';'));
    return {};
}
