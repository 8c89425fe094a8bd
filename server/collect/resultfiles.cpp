// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultfiles.h"

#include "exchange/examlimits.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringDecoder>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString tooLarge(qint64 size)
{
    return QCoreApplication::translate("Resultfiles", "文件太大（%1 字节），不是成绩文件")
            .arg(size);
}

}  // namespace

#ifdef Q_OS_WIN

namespace {

QString lastErrorAsUnreadable()
{
    return QCoreApplication::translate("Resultfiles", "无法读取：%1")
            .arg(qt_error_string(int(GetLastError())));
}

}  // namespace

struct ResultFileFolder::Handle
{
};

ResultFileFolder::ResultFileFolder(QString folder) : m_folder(std::move(folder)) { }
ResultFileFolder::~ResultFileFolder() = default;

QVector<ResultFileFolder::Entry> ResultFileFolder::list(QString &problem)
{
    QVector<Entry> entries;
    const QDir dir(m_folder);
    if (!dir.exists()) {
        problem = tr("无法列出 %1").arg(QDir::toNativeSeparators(m_folder));
        return entries;
    }
    // Windows names are UTF-16 and always decode.
    const QFileInfoList infos = dir.entryInfoList(
            { QStringLiteral("*.zip") },
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos)
        entries.append({ info.fileName(), info.fileName().toUtf8(), true, info.size(),
                         info.lastModified().toMSecsSinceEpoch() * 1000000 });
    return entries;
}

ResultFileFolder::Reading ResultFileFolder::read(const Entry &entry) const
{
    Reading reading;
    const QString path = QDir::toNativeSeparators(QDir(m_folder).filePath(entry.name));
    // Opening the reparse point itself never follows a link or a junction.
    HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reading.problem = tr("无法打开：%1").arg(qt_error_string(int(GetLastError())));
        return reading;
    }
    // Only the attributes and the size: the query of everything also names
    // the file, and fails on a file the FTP service deleted while it was open.
    FILE_ATTRIBUTE_TAG_INFO info {};
    LARGE_INTEGER fileSize {};
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) {
        reading.problem = lastErrorAsUnreadable();
    } else if (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        reading.problem = tr("是链接，不是成绩文件");
    } else if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        reading.problem = tr("是文件夹");
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        reading.problem = tr("不是普通文件");
    } else if (!GetFileSizeEx(file, &fileSize)) {
        reading.problem = lastErrorAsUnreadable();
    } else {
        const qint64 size = fileSize.QuadPart;
        if (size > examlimits::kMaxResultFileBytes) {
            reading.problem = tooLarge(size);
        } else {
            QByteArray bytes(examlimits::kMaxResultFileBytes + 1, Qt::Uninitialized);
            DWORD got = 0;
            if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr))
                reading.problem = lastErrorAsUnreadable();
            else if (got > examlimits::kMaxResultFileBytes)
                reading.problem = tooLarge(got);
            else
                reading.bytes = bytes.left(int(got));
        }
    }
    CloseHandle(file);
    return reading;
}

#else

struct ResultFileFolder::Handle
{
    int folder = -1;
};

ResultFileFolder::ResultFileFolder(QString folder)
    : m_folder(std::move(folder)), m_handle(std::make_unique<Handle>())
{
}

ResultFileFolder::~ResultFileFolder()
{
    if (m_handle->folder >= 0)
        ::close(m_handle->folder);
}

int ResultFileFolder::folderDescriptor() const
{
    if (m_handle->folder < 0)
        m_handle->folder =
                ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return m_handle->folder;
}

QVector<ResultFileFolder::Entry> ResultFileFolder::list(QString &problem)
{
    QVector<Entry> entries;
    folderDescriptor();
    // The listing works on its own descriptor: closedir() closes it.
    const int listed = m_handle->folder < 0 ? -1 : ::dup(m_handle->folder);
    DIR *dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!dir) {
        problem = tr("无法列出 %1：%2")
                          .arg(QDir::toNativeSeparators(m_folder),
                               QString::fromLocal8Bit(std::strerror(errno)));
        if (listed >= 0)
            ::close(listed);
        return entries;
    }
    ::rewinddir(dir);
    while (const dirent *item = ::readdir(dir)) {
        const QByteArray local(item->d_name);
        if (local == "." || local == ".." || !local.toLower().endsWith(".zip"))
            continue;
        // Names are UTF-8 here; a name that is not must still be told, not lost.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = utf8.decode(local);
        struct stat info
        {
        };
        const bool known =
                ::fstatat(m_handle->folder, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0;
        entries.append(
                { name, local, !utf8.hasError(), known ? qint64(info.st_size) : -1,
                  known ? qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec : 0 });
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}

ResultFileFolder::Reading ResultFileFolder::read(const Entry &entry) const
{
    Reading reading;
    // O_NONBLOCK: opening a FIFO with no writer must not wait for one.
    const int fd = ::openat(folderDescriptor(), entry.localName.constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reading.problem = errno == ELOOP
                ? tr("是链接，不是成绩文件")
                : tr("无法打开：%1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return reading;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        reading.problem = tr("无法读取：%1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    } else if (S_ISDIR(info.st_mode)) {
        reading.problem = tr("是文件夹");
    } else if (!S_ISREG(info.st_mode)) {
        reading.problem = tr("不是普通文件");
    } else if (info.st_size > examlimits::kMaxResultFileBytes) {
        reading.problem = tooLarge(info.st_size);
    } else {
        // One byte past the bound tells a file that grew since fstat().
        QByteArray bytes(examlimits::kMaxResultFileBytes + 1, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    reading.problem =
                            tr("无法读取：%1").arg(QString::fromLocal8Bit(std::strerror(errno)));
                break;
            }
            got += n;
        }
        if (reading.problem.isEmpty()) {
            if (got > examlimits::kMaxResultFileBytes) {
                reading.problem = tooLarge(got);
            } else {
                bytes.truncate(got);
                reading.bytes = std::move(bytes);
            }
        }
    }
    ::close(fd);
    return reading;
}

#endif
