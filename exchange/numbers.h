// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers as the exchange files and the screens show them: two decimals
// with halves to the even neighbour, and the shortest text of a single.
#include <QLocale>
#include <QString>

#include <optional>

namespace numbers {

// Rounds to the given number of decimals; an exact half goes to the even
// neighbour (0.125 -> 0.12, 12.5 -> 12, 13.5 -> 14).
double roundHalfEven(double value, int decimals = 0);

// A figure of the exam (speed, accuracy): rounded to two decimals, halves
// to even, and stored in single precision.
float twoDecimals(double value);

// The numeric value of a text with "." as decimal point, blanks around it
// allowed. Empty when the text is not a finite number.
std::optional<double> parseNumber(QStringView text);

// Text to a whole number, rounding halves to even ("12.5" -> 12). Empty
// when the text is not a number or the value does not fit in [min, max].
std::optional<qint64> parseWhole(QStringView text, qint64 min, qint64 max);
std::optional<qint16> parseInt16(QStringView text);
std::optional<qint32> parseInt32(QStringView text);

// Shortest decimal text that reads back as the same single, at most seven
// significant digits, no exponent, "." as decimal point: 56.25, 98.5, 100, 0.
QString singleText(float value);
// The same with the locale's decimal point, for texts on screen.
QString singleTextForScreen(float value, const QLocale &locale = QLocale());

// A speed as every grid, tooltip, chart, report and statistic shows it:
// two decimals always, as the record keeps it, halves to even, so a column
// of speeds lines up (111.00, 112.80, 66.35).
QString speedText(double value);
// An accuracy line as the screens and reports show it: two decimals like a
// speed ("87.5" -> 87.50); a line that is no number stays as written.
QString accuracyText(const QString &accuracyLine);

}  // namespace numbers
