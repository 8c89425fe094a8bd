// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/transcode.h"

#include "exchange/wholefile.h"

#include <QFile>

QByteArray transcodeBytes(QByteArray bytes, int key)
{
    const char mask = static_cast<char>(key & 0xFF);
    for (char &byte : bytes)
        byte ^= mask;
    return bytes;
}

bool TranscodeFile(const QString &inputPath, const QString &outputPath, int key)
{
    QByteArray bytes;
    QFile input(inputPath);
    if (input.exists()) {
        if (!input.open(QIODevice::ReadOnly))
            return false;
        bytes = input.readAll();
        if (input.error() != QFileDevice::NoError)
            return false;
    }
    // The output appears whole or not at all.
    return wholefile::write(outputPath, transcodeBytes(std::move(bytes), key)).isEmpty();
}
