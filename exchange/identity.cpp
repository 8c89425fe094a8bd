// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity.h"

namespace identity {

QString matchKey(const QString &text)
{
    QString key;
    key.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == u'\x3000')
            key += u' ';
        else if (code >= u'\xFF01' && code <= u'\xFF5E')
            key += QChar(char16_t(code - 0xFF01 + 0x21));
        else
            key += ch;
    }
    return key.trimmed().toCaseFolded();
}

QString personKey(const QString &department, const QString &examNumber, const QString &name)
{
    return matchKey(department) + QChar(0) + matchKey(examNumber) + QChar(0) + matchKey(name);
}

}  // namespace identity
