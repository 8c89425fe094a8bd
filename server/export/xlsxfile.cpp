// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/xlsxfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace xlsxfile {

QString asciiStandIn(const QString &path, const QString &stem)
{
#ifdef Q_OS_WIN
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    wchar_t shortFolder[MAX_PATH];
    const DWORD length = GetShortPathNameW(reinterpret_cast<const wchar_t *>(folder.utf16()),
                                           shortFolder, MAX_PATH);
    const QString base = length > 0 && length < MAX_PATH
            ? QString::fromWCharArray(shortFolder, int(length))
            : folder;
    return base + QStringLiteral("\\%1-%2.xlsx").arg(stem).arg(QCoreApplication::applicationPid());
#else
    Q_UNUSED(stem)
    return path;
#endif
}

}  // namespace xlsxfile
