// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scrambling of the files that travel through the exchange folder: every
// byte XOR the exchange key. The operation is its own inverse.
#include <QByteArray>
#include <QString>

constexpr int kExchangeKey = 157;

QByteArray transcodeBytes(QByteArray bytes, int key);

// Writes the transcoded bytes of inputPath to outputPath, replacing it. A
// missing input counts as empty (the output is created empty). Inputs of
// any length are handled. Returns false when the output could not be
// written or the input exists but could not be read.
bool TranscodeFile(const QString &inputPath, const QString &outputPath, int key);
