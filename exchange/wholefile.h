// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way both programs write and read their files. A write leaves the
// file holding exactly the new bytes or untouched: a full disk or a failed
// write never leaves an empty or shortened file that looks saved.
#include <QByteArray>
#include <QString>

#include <optional>

namespace wholefile {

// Writes bytes to path through a file beside it that is renamed into place
// only after every byte was flushed and the size checked. Returns the
// problem in Chinese, naming the file (empty on success).
QString write(const QString &path, QByteArrayView bytes);

struct Reading
{
    std::optional<QByteArray> bytes;
    QString problem;  // in Chinese, naming the file; empty when read
};

// Reads a whole regular file of at most maxBytes; a larger one, one that
// cannot be opened or a read that fails is a problem.
Reading read(const QString &path, qint64 maxBytes);

}  // namespace wholefile
