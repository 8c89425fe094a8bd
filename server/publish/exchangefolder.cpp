// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/exchangefolder.h"

#include "exchange/paths.h"
#include "exchange/publication.h"
#include "exchange/recordlines.h"
#include "exchange/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

QString exchangeFolderMissingMessage(const QString &exchangeFolder)
{
    const QString shown = QDir::toNativeSeparators(exchangeFolder);
    QString missing =
            QCoreApplication::translate("Exchangefolder", "交换文件夹 %1 不存在").arg(shown);
    // A lab PC without a D: drive cannot make d:\typedata at all.
    const QString root = QDir::fromNativeSeparators(exchangeFolder).section(u'/', 0, 0) + u'/';
    if (root.size() == 3 && root.at(1) == u':' && !QFileInfo(root).isDir())
        missing += QCoreApplication::translate("Exchangefolder", "（这台计算机没有 %1 盘）")
                           .arg(root.left(2).toUpper());
    return QCoreApplication::translate("Exchangefolder",
                                       "Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为")
            + shown + u'\n' + missing
            + QCoreApplication::translate(
                    "Exchangefolder",
                    "。要用另一个文件夹，请在“考试设置”中按“更改文件夹”选择它，"
                    "再把Ftp服务器的主目录设置为那个文件夹。");
}

namespace {

// A folder under one of these names stands where the console writes or
// deletes a file; any other folder is someone else's.
bool isWritePlaceName(const QString &name)
{
    return name.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive)
            || name == paths::examSettingsFileName() || name == paths::examTextFileName()
            || name == Publication::fileName();
}

}  // namespace

QStringList exchangeFilesToRemove(const QString &folder)
{
    const QDir dir(folder);
    QStringList names = dir.entryList(QDir::Files, QDir::Name);
    // Result files whose names begin with a dot are collected, so they go
    // with the others; other hidden files stay.
    const QStringList hidden =
            dir.entryList({ QStringLiteral(".*.zip") }, QDir::Files | QDir::Hidden);
    for (const QString &name : hidden) {
        if (!names.contains(name))
            names << name;
    }
    const QStringList folders =
            dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : folders) {
        if (isWritePlaceName(name) && !names.contains(name))
            names << name;
    }
    return names;
}

QStringList removeExchangeFiles(const QString &folder)
{
    QStringList failures;
    const QDir dir(folder);
    for (const QString &name : exchangeFilesToRemove(folder)) {
        const QString path = dir.filePath(name);
        const QFileInfo entry(path);
        if (entry.isDir() && !entry.isSymLink()) {
            if (const QString problem = freeWritePlace(path); !problem.isEmpty())
                failures << name + QCoreApplication::translate("Exchangefolder", "：") + problem;
            continue;
        }
        QFile file(path);
        if (!file.remove())
            failures << name + QCoreApplication::translate("Exchangefolder", "：")
                            + file.errorString();
    }
    return failures;
}

QString freeWritePlace(const QString &path)
{
    // A link is a file to delete or overwrite, wherever it points.
    const QFileInfo place(path);
    if (!place.isDir() || place.isSymLink())
        return {};
    if (QDir().rmdir(path))
        return {};
    return QCoreApplication::translate("Exchangefolder",
                                       "%1 是一个文件夹，里面还有文件，程序不会删除它。"
                                       "请移走其中的文件或删除这个文件夹后再试。")
            .arg(QDir::toNativeSeparators(path));
}

namespace {

// The folder as the file system names it, through links and "..".
QString canonical(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

bool holdsOwnFolder(const QString &folder, const QStringList &ownFolders)
{
    const QString outer = canonical(folder);
    for (const QString &own : ownFolders) {
        const QString inner = canonical(own);
        if (inner == outer || inner.startsWith(outer + u'/'))
            return true;
    }
    return false;
}

QString clearExchangeFolder(const QString &folder, const QStringList &ownFolders)
{
    if (!paths::exchangeFolderIsReady(folder))
        return exchangeFolderMissingMessage(folder);
    // Canonical paths see through links and "..".
    const QString exchange = QFileInfo(folder).canonicalFilePath();
    for (const QString &own : ownFolders) {
        if (exchange == QFileInfo(own).canonicalFilePath())
            return QCoreApplication::translate(
                           "Exchangefolder",
                           "交换文件夹就是本程序的文件夹，为保护程序和设置文件，没有删除任何文件：")
                    + QDir::toNativeSeparators(exchange);
    }
    const QStringList failures = removeExchangeFiles(folder);
    if (failures.isEmpty())
        return {};
    return QCoreApplication::translate("Exchangefolder",
                                       "以下文件无法删除，请关闭占用它们的程序后再清空一次：\n")
            + failures.join(QLatin1Char('\n'));
}
ConsoleIdentity ConsoleIdentity::current()
{
    return { QSysInfo::machineHostName(), QCoreApplication::applicationPid() };
}

namespace {

bool processRuns(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return false;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#endif
}

}  // namespace

ConsoleMarker::ConsoleMarker(QString exchangeFolder, ConsoleIdentity self)
    : m_folder(std::move(exchangeFolder)), m_self(std::move(self))
{
}

QString ConsoleMarker::path() const
{
    return QDir(m_folder).filePath(fileName());
}

QString ConsoleMarker::leave(const QDateTime &nowUtc) const
{
    RecordWriter lines;
    lines.text(m_self.machine).integer(m_self.process).text(nowUtc.toString(Qt::ISODate));
    return wholefile::write(path(), lines.bytes());
}

void ConsoleMarker::remove() const
{
    QFile::remove(path());
}

std::optional<ConsoleMarker::Note> ConsoleMarker::otherConsole(const QDateTime &nowUtc) const
{
    // Anyone can write into the folder: a note that does not read is no note.
    const wholefile::Reading file = wholefile::read(path(), 4096);
    if (!file.bytes)
        return std::nullopt;
    const RecordReader reader(*file.bytes);
    const auto machine = reader.text(0);
    const auto process = reader.int32(1);
    const auto since = reader.text(2);
    if (!machine || !process || !since)
        return std::nullopt;
    Note note { { *machine, *process }, QDateTime::fromString(*since, Qt::ISODate) };
    if (!note.since.isValid() || note.owner == m_self)
        return std::nullopt;
    const qint64 age = note.since.secsTo(nowUtc);
    if (age > kFreshSeconds)
        return std::nullopt;
    if (note.owner.machine == m_self.machine && !processRuns(note.owner.process))
        return std::nullopt;
    return note;
}

QString ConsoleMarker::warning(const Note &note, const QString &action)
{
    return tr("另一个考试服务器程序（计算机“%1”，进程%2）于%"
              "3开放了登录，正在使用这个交换文件夹。\n"
              "在这里%4会影响那边的考试。仍要%4吗？")
            .arg(note.owner.machine)
            .arg(note.owner.process)
            .arg(note.since.toLocalTime().toString(tr("M月d日 HH:mm")), action);
}
