// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/programlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cstdio>

// Debug messages stay off unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcExchange, "kestrix.exchange", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDesktop, "kestrix.desktop", QtInfoMsg)

RotatingLog::RotatingLog(QString folder, QString baseName, qint64 maxBytes, int keptFiles)
    : m_folder(std::move(folder)),
      m_baseName(std::move(baseName)),
      m_maxBytes(maxBytes),
      m_keptFiles(std::max(keptFiles, 1))
{
}

QString RotatingLog::path() const
{
    return numbered(0);
}

QString RotatingLog::numbered(int index) const
{
    const QString name = index ? m_baseName + u'.' + QString::number(index) : m_baseName;
    return QDir(m_folder).filePath(name);
}

void RotatingLog::rotate()
{
    QFile::remove(numbered(m_keptFiles - 1));
    for (int index = m_keptFiles - 2; index >= 0; --index)
        QFile::rename(numbered(index), numbered(index + 1));
}

QString RotatingLog::append(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    const QMutexLocker lock(&m_mutex);
    if (!QDir().mkpath(m_folder))
        return QStringLiteral("cannot make the folder %1").arg(m_folder);
    const qint64 size = QFileInfo(path()).size();
    if (size > 0 && size + bytes.size() > m_maxBytes) {
        rotate();
        // A file that would not move aside must not grow past the bound.
        if (QFileInfo::exists(path()))
            return QStringLiteral("cannot move %1 aside").arg(path());
    }
    QFile file(path());
    // Unbuffered: what a full disk refused is not written later, on closing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 before = file.size();
    if (file.write(bytes) != bytes.size()) {
        // A line cut short is not left for the next to follow.
        const QString problem = file.errorString();
        file.resize(before);
        return problem;
    }
    return {};
}

namespace programlog {

namespace {

RotatingLog *g_log = nullptr;
QtMessageHandler g_previous = nullptr;
std::atomic<bool> g_failing { false };
thread_local bool t_inHandler = false;

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        break;
    }
    return "fatal";
}

// The line written for a message: time, level, category and text.
QString line(const QDateTime &at, QtMsgType type, const char *category, const QString &message)
{
    // One message, one line: a box's text keeps its breaks as " | ".
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" | "))
            .replace(u'\n', QStringLiteral(" | "));
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + u' '
            + QLatin1String(levelName(type)) + u' ' + QLatin1String(category ? category : "default")
            + QStringLiteral(": ") + text;
}

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // A message raised while a message is written (by Qt's file classes)
    // only goes where messages went before.
    if (!t_inHandler) {
        t_inHandler = true;
        const QString problem =
                g_log->append(line(QDateTime::currentDateTime(), type, context.category, message));
        // Told once until the file takes lines again.
        if (problem.isEmpty())
            g_failing = false;
        else if (!g_failing.exchange(true))
            std::fprintf(stderr, "The log %s cannot be written: %s\n",
                         qUtf8Printable(QDir::toNativeSeparators(g_log->path())),
                         qUtf8Printable(problem));
        t_inHandler = false;
    }
    if (g_previous)
        g_previous(type, context, message);
}

}  // namespace

QString folder(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("logs"));
}

void install(const QString &dataFolder, const QString &program)
{
    if (g_log)
        return;
    g_log = new RotatingLog(folder(dataFolder), program + QStringLiteral(".log"));
    g_previous = qInstallMessageHandler(handle);
}

}  // namespace programlog
