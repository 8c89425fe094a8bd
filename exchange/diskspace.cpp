// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/diskspace.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QCoreApplication>

namespace diskspace {

QString problem(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady())
        return {};
    const QString shown = QDir::toNativeSeparators(folder);
    if (storage.isReadOnly())
        return QCoreApplication::translate("diskspace", "磁盘只读：%1").arg(shown);
    if (storage.bytesAvailable() < kFullBelowBytes)
        return QCoreApplication::translate("diskspace", "磁盘已满：%1").arg(shown);
    if (!QFileInfo(folder).isWritable())
        return QCoreApplication::translate("diskspace", "文件夹只读：%1").arg(shown);
    return {};
}

}  // namespace diskspace
