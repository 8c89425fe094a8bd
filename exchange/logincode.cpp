// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/logincode.h"

#include <QRandomGenerator>
#include <QCoreApplication>

namespace logincode {

namespace {

constexpr int kModulus = 23;
constexpr int kGroup = 3;

// The check sign that makes the weighted sum of the nine drawn signs a
// multiple of 23 (the check sits at place 10).
int checkValue(const QString &drawn)
{
    const QString letters = alphabet();
    int sum = 0;
    for (int i = 0; i < drawn.size(); ++i)
        sum += (i + 1) * int(letters.indexOf(drawn.at(i)));
    // 10 * 7 = 70 = 3 * 23 + 1: 7 is the inverse of place 10.
    constexpr int kInverseOfLastPlace = 7;
    return ((kModulus - sum % kModulus) * kInverseOfLastPlace) % kModulus;
}

bool allIn(const QString &code, const QString &letters)
{
    for (const QChar sign : code)
        if (!letters.contains(sign))
            return false;
    return true;
}

}  // namespace

QString draw()
{
    const QString letters = alphabet();
    QString code;
    for (int i = 0; i < kDrawnSigns; ++i)
        code += letters.at(int(QRandomGenerator::system()->bounded(quint32(letters.size()))));
    return code + letters.at(checkValue(code));
}

QString canonical(const QString &typed)
{
    QString code;
    for (const QChar sign : typed.normalized(QString::NormalizationForm_KC).toUpper()) {
        if (sign.isSpace() || sign == u'-')
            continue;
        code += sign == u'Z' ? u'2' : sign == u'B' ? u'8' : sign == u'V' ? u'U' : sign;
    }
    return code;
}

QString problemOf(const QString &typed)
{
    const QString code = canonical(typed);
    if (code.size() == kEarlierLength && allIn(code, earlierAlphabet()))
        return {};
    if (code.size() == kLength && allIn(code, alphabet())
        && alphabet().at(checkValue(code.first(kDrawnSigns))) == code.back())
        return {};
    return QCoreApplication::translate(
            "logincode",
            "登录码不对，请对照登录码纸条重新输入（共10个字母或数字，横线和空格可不输）");
}

QString printed(const QString &code)
{
    if (code.size() != kLength)
        return code;
    QString text;
    for (int i = 0; i < kLength; ++i) {
        if (i > 0 && i % kGroup == 0 && i < kLength - 1)
            text += u' ';
        text += code.at(i);
    }
    return text;
}

}  // namespace logincode
