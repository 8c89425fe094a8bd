// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why nothing can be written in a folder, in the words a teacher knows: its
// disk is full, or read-only. Asked once a write or an open has failed, so
// that a full disk is never taken for a damaged file.
#include <QString>

namespace diskspace {

// Less free than this is full: a database needs a few pages for its log.
constexpr qint64 kFullBelowBytes = 64 * 1024;

// "磁盘已满：D:\kestrix", "磁盘只读：D:\kestrix" or "文件夹只读：D:\kestrix"
// for the folder of `path` (a file or a folder); empty when it takes writes
// or cannot be told.
QString problem(const QString &path);

}  // namespace diskspace
