// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/scoring.h"

#include "exchange/numbers.h"

#include <QCoreApplication>

namespace scoring {

float speed(qint32 rightCount, qint32 timePass)
{
    if (timePass <= 0 || rightCount <= 0)
        return 0.0f;
    return numbers::twoDecimals(double(rightCount) / (double(timePass) / 60.0));
}

float accuracy(qint32 rightCount, qint32 errorCount)
{
    if (rightCount <= 0)
        return 0.0f;
    // Summed in 64 bits so that no count can overflow the divisor.
    const double compared = double(qint64(rightCount) + qint64(errorCount));
    return numbers::twoDecimals(double(rightCount) / compared * 100.0);
}

QString progressText(float speed, float accuracy, const QLocale &locale)
{
    return QCoreApplication::translate("scoring", "打字速度：")
            + numbers::singleTextForScreen(speed, locale)
            + QCoreApplication::translate("scoring", "字／分钟") + QString(10, u' ')
            + QCoreApplication::translate("scoring", "正确率：")
            + numbers::singleTextForScreen(accuracy, locale)
            + QCoreApplication::translate("scoring", "％");
}

}  // namespace scoring
