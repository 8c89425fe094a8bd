// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result files of the exchange folder, read without trusting them: the
// folder is writable by every examinee, so an entry may be a link, a FIFO,
// a device, a folder or a file far larger than any record.
#include <QCoreApplication>
#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

class ResultFileFolder
{
    Q_DECLARE_TR_FUNCTIONS(ResultFileFolder)
public:
    struct Entry
    {
        QString name;  // for the examiner; undecodable bytes shown as U+FFFD
        QByteArray localName;  // the name as the file system has it
        bool decodable = true;
        // As listed, without following a link: what tells a changed file.
        qint64 size = -1;
        qint64 modified = 0;  // nanoseconds since the epoch
    };

    struct Reading
    {
        std::optional<QByteArray> bytes;  // the file's bytes, as stored
        QString problem;  // why it was not read, in Chinese
    };

    explicit ResultFileFolder(QString folder);
    ~ResultFileFolder();
    ResultFileFolder(const ResultFileFolder &) = delete;
    ResultFileFolder &operator=(const ResultFileFolder &) = delete;

    // Every entry whose name ends in ".zip" (any case), hidden ones included,
    // in name order. Empty with the reason in `problem` when the folder
    // cannot be listed.
    QVector<Entry> list(QString &problem);

    // Reads the entry (listed or not) when it is a regular file of at most
    // examlimits::kMaxResultFileBytes, opened without following a link and
    // without waiting on a FIFO or a device; anything else is a problem and
    // nothing is read.
    Reading read(const Entry &entry) const;

private:
    struct Handle;
#ifndef Q_OS_WIN
    // The folder, opened once; -1 when it cannot be.
    int folderDescriptor() const;
#endif
    QString m_folder;
    std::unique_ptr<Handle> m_handle;
};
