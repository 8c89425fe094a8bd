// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/pgpassfile.h"

#include "exchange/wholefile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QUrl>
#include <QCoreApplication>

namespace {

// The password file is small; anything larger is something else.
constexpr qint64 kMaxBytes = 1 << 20;
constexpr int kDefaultPort = 5432;

// A field as libpq reads it: ':' and '\' escaped by '\'.
QString escaped(QString field)
{
    field.replace(u'\\', QStringLiteral("\\\\"));
    field.replace(u':', QStringLiteral("\\:"));
    return field;
}

}  // namespace

namespace pgpassfile {

QString path()
{
    const QString chosen = qEnvironmentVariable("PGPASSFILE");
    if (!chosen.isEmpty())
        return chosen;
#ifdef Q_OS_WIN
    return QDir(qEnvironmentVariable("APPDATA")).filePath(QStringLiteral("postgresql/pgpass.conf"));
#else
    return QDir::home().filePath(QStringLiteral(".pgpass"));
#endif
}

QString writeEntry(const QString &file, const QString &uri, const QString &password)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.userName().isEmpty())
        return QCoreApplication::translate("pgpassfile",
                                           "数据库地址中没有服务器或用户，无法写入口令。");
    const QString prefix =
            QStringList { escaped(url.host()), QString::number(url.port(kDefaultPort)),
                          escaped(url.path().mid(1)), escaped(url.userName()) }
                    .join(u':')
            + u':';
    QStringList lines;
    if (QFile::exists(file)) {
        const wholefile::Reading old = wholefile::read(file, kMaxBytes);
        if (!old.problem.isEmpty())
            return old.problem;
        for (const QString &line : QString::fromUtf8(*old.bytes).split(u'\n')) {
            if (!line.isEmpty() && !line.startsWith(prefix))
                lines << line;
        }
    }
    lines << prefix + escaped(password);
    QDir().mkpath(QFileInfo(file).absolutePath());
    // Written whole beside the file, made the user's alone before the
    // password goes in (libpq ignores a password file others can read).
    QSaveFile out(file);
    const bool written = out.open(QIODevice::WriteOnly)
            && out.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
            && out.write((lines.join(u'\n') + u'\n').toUtf8()) >= 0 && out.commit();
    if (!written)
        return QCoreApplication::translate("pgpassfile", "无法写入口令文件 %1：%2")
                .arg(QDir::toNativeSeparators(file), out.errorString());
    return {};
}

}  // namespace pgpassfile
