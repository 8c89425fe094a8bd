// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/identity.h"

namespace identity {

QString matchKey(const QString &text)
{
    // Compatibility forms fold into their plain ones: full-width letters,
    // digits, brackets and the ideographic space, half-width katakana.
    return text.normalized(QString::NormalizationForm_KC).trimmed().toCaseFolded();
}

QString personKey(const QString &department, const QString &examNumber, const QString &name)
{
    return matchKey(department) + QChar(0) + matchKey(examNumber) + QChar(0) + matchKey(name);
}

QString spelling(const QString &department, const QString &examNumber, const QString &name)
{
    return department + QChar(0) + examNumber + QChar(0) + name;
}

}  // namespace identity
