// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam's two figures and the texts that show them. Used by the progress
// line during the exam and by the result taken at its end.
#include <QLocale>
#include <QString>

namespace scoring {

// Right characters per minute of whole elapsed seconds, two decimals with
// halves to even. 0 before the first second has passed (no sound value
// exists then) and when nothing was typed right.
float speed(qint32 rightCount, qint32 timePass);

// Right positions in percent of all compared positions, two decimals with
// halves to even; 0 when no position was typed right.
float accuracy(qint32 rightCount, qint32 errorCount);

// "打字速度：30字／分钟          正确率：75％"
QString progressText(float speed, float accuracy, const QLocale &locale = QLocale());

}  // namespace scoring
