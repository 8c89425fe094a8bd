// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small tmpfs mounted over a temporary folder, to run a program's writes
// into a full disk. Mounting needs root; where it is refused, problem()
// says why and the test skips.
#include <QString>
#include <QTemporaryDir>

class SmallDisk
{
public:
    explicit SmallDisk(int kibibytes = 256);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    const QString &problem() const { return m_problem; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a filler file until the disk has no space left.
    bool fill();
    // Mounts the disk again read-only, or writable again.
    bool setReadOnly(bool readOnly);

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_problem;
};
