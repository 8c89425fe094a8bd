// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "smalldisk.h"

#include <QFile>
#include <QProcess>

SmallDisk::SmallDisk(int kibibytes)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                  QStringLiteral("size=%1k").arg(kibibytes), QStringLiteral("tmpfs"),
                  m_dir.path() });
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit
        || mount.exitCode() != 0) {
        m_problem = QStringLiteral("cannot mount a small tmpfs here (needs root): ")
                + QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), { QStringLiteral("-l"), m_dir.path() });
}

bool SmallDisk::fill()
{
    QFile filler(filePath(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    // Bounded: the disk is a few hundred KiB.
    for (int i = 0; i < 100000; ++i) {
        if (filler.write(block) != block.size())
            break;
    }
    // Byte by byte into the last partial page.
    while (filler.write("f", 1) == 1) { }
    return true;
}

bool SmallDisk::setReadOnly(bool readOnly)
{
    return m_mounted
            && QProcess::execute(
                       QStringLiteral("mount"),
                       { QStringLiteral("-o"),
                         readOnly ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"),
                         m_dir.path() })
            == 0;
}
