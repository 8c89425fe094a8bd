// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/numbers.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace numbers {

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; say so explicitly.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value * scale) / scale;
    std::fesetround(previous);
    return rounded;
}

float twoDecimals(double value)
{
    return static_cast<float>(roundHalfEven(value, 2));
}

std::optional<double> parseNumber(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseWhole(QStringView text, qint64 min, qint64 max)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value, 0);
    if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max))
        return std::nullopt;
    return static_cast<qint64>(rounded);
}

namespace {

// A whole number within the range of Int.
template <typename Int>
std::optional<Int> parseWholeOf(QStringView text)
{
    const auto value =
            parseWhole(text, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!value)
        return std::nullopt;
    return static_cast<Int>(*value);
}

}  // namespace

std::optional<qint16> parseInt16(QStringView text)
{
    return parseWholeOf<qint16>(text);
}

std::optional<qint32> parseInt32(QStringView text)
{
    return parseWholeOf<qint32>(text);
}

namespace {

// Writes a double with a fixed count of decimals and drops trailing zeros.
QString fixedWithoutTrailingZeros(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    QString text = QString::fromLatin1(buffer);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

}  // namespace

QString singleText(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0f)
        return QStringLiteral("0");  // also turns -0 into 0
    // The fewest significant digits that read back as the same single.
    int digits = 1;
    for (; digits < 7; ++digits) {
        char probe[64];
        std::snprintf(probe, sizeof probe, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(probe, nullptr) == value)
            break;
    }
    const int exponent =
            static_cast<int>(std::floor(std::log10(std::fabs(static_cast<double>(value)))));
    // Round to `digits` significant digits first, then print without exponent.
    char rounded[64];
    std::snprintf(rounded, sizeof rounded, "%.*e", digits - 1, static_cast<double>(value));
    const double significant = std::strtod(rounded, nullptr);
    const int decimals = std::max(0, digits - 1 - exponent);
    QString text = fixedWithoutTrailingZeros(significant, decimals);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString singleTextForScreen(float value, const QLocale &locale)
{
    QString text = singleText(value);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

QString speedText(double value)
{
    // -0.001 must not show as -0.00.
    const double rounded = roundHalfEven(value, 2);
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f', 2);
}

QString accuracyText(const QString &accuracyLine)
{
    const std::optional<double> value = parseNumber(accuracyLine);
    return value ? speedText(*value) : accuracyLine;
}

}  // namespace numbers
