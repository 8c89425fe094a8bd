// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/textencoding.h"

#include "exchange/gbk.h"

#include <QStringDecoder>

namespace textencoding {

namespace {

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    // Stateless: a sequence cut off at the end is an error, not held back.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

std::optional<QString> decodeUtf8OrGbk(QByteArrayView bytes)
{
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF", 3);
    if (bytes.startsWith(kBom))
        return strictUtf8(bytes.sliced(kBom.size()));
    // GBK Chinese text almost never forms valid UTF-8 for more than a sign
    // or two, and pure ASCII reads the same either way.
    if (std::optional<QString> text = strictUtf8(bytes))
        return text;
    return gbk::decodeStrict(bytes);
}

}  // namespace textencoding
