// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File helpers shared by the tests.
#include <QDateTime>
#include <QDir>
#include <QFile>

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sets a file's time `seconds` back: an exam published that long ago, for
// tests that hand in records of sessions their clocks never ran.
inline bool backdate(const QString &path, int seconds)
{
    QFile file(path);
    return file.open(QIODevice::Append)
            && file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-seconds),
                                QFileDevice::FileModificationTime);
}

inline QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// size bytes running through every byte value.
inline QByteArray everyByte(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 % 256);
    return bytes;
}
