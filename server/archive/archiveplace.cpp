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
// A connection whose server went away during a send is noticed within
// about ten seconds (idle, then probes at this interval), not after the
// system's two hours: quitting waits for the exam being sent.
constexpr int kKeepaliveIdleSeconds = 4;
constexpr int kKeepaliveIntervalSeconds = 2;
constexpr int kKeepaliveProbes = 3;

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

bool ArchivePlace::hasPassword() const
{
    const QUrl url(m_text);
    return m_school
            && (!url.password().isEmpty()
                || QUrlQuery(url).hasQueryItem(QStringLiteral("password")));
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
        return tr("不是有效的数据库地址（应如 postgresql://用户@服务器:5432/数据库）");
    db.setHostName(url.host());
    if (url.port() > 0)
        db.setPort(url.port());
    db.setDatabaseName(database);
    db.setUserName(url.userName());
    if (!url.password().isEmpty())
        db.setPassword(url.password());
    // Options of the URI (sslmode, ...) pass on to libpq as they are.
    QStringList options {
        QStringLiteral("connect_timeout=%1").arg(kConnectSeconds),
        QStringLiteral("keepalives_idle=%1").arg(kKeepaliveIdleSeconds),
        QStringLiteral("keepalives_interval=%1").arg(kKeepaliveIntervalSeconds),
        QStringLiteral("keepalives_count=%1").arg(kKeepaliveProbes),
        QStringLiteral("tcp_user_timeout=%1")
                .arg(1000 * (kKeepaliveIdleSeconds + kKeepaliveIntervalSeconds * kKeepaliveProbes)),
        // A table another session locks, or a server too busy to answer,
        // fails the statement instead of holding its thread.
        QStringLiteral("options='-c statement_timeout=%1 -c lock_timeout=%2'")
                .arg(kStatementMillis)
                .arg(kLockMillis)
    };
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << key + u'=' + value;
    db.setConnectOptions(options.join(u';'));
    return {};
}
