// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QImage>
#include <QVector>

#include <algorithm>

// The first and last row of each run of pixel rows with ink (not white):
// lines that overlap make one run.
inline QVector<QPair<int, int>> inkRows(const QImage &shot)
{
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    QVector<QPair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::all_of(row, row + image.width(), [](QRgb pixel) { return pixel == 0xFFFFFFFF; }))
            continue;
        if (runs.isEmpty() || runs.last().second != y - 1)
            runs.append({ y, y });
        runs.last().second = y;
    }
    return runs;
}
