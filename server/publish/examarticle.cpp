// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/examarticle.h"

#include "exchange/examlimits.h"
#include "exchange/gbk.h"
#include "exchange/recordlines.h"
#include "exchange/textencoding.h"
#include "exchange/wholefile.h"

#include <QStringList>
#include <QCoreApplication>

namespace examarticle {

namespace {

constexpr int kNamedSigns = 5;

// Empty when the bytes are neither encoding.
std::optional<QString> decode(QByteArrayView bytes, Source source)
{
    if (source == Source::ExamFile)
        return gbk::decode(bytes);
    return textencoding::decodeUtf8OrGbk(bytes);
}

constexpr QChar kUndecodable = QChar::ReplacementCharacter;

// The signs GBK cannot hold, in order of appearance, each named once.
QStringList signsOutsideGbk(const QString &text)
{
    QStringList signs;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString sign = text.mid(i, width);
        i += width - 1;
        if (sign.at(0).unicode() < 0x80 || signs.contains(sign))
            continue;
        if (gbk::decode(gbk::encode(sign)) != sign)
            signs << sign;
    }
    return signs;
}

}  // namespace

Reading fromBytes(QByteArrayView bytes, Source source)
{
    Reading reading;
    const std::optional<QString> decoded = decode(bytes, source);
    const QString text = decoded ? withCrLfLines(*decoded) : QString();
    if (!decoded || text.contains(kUndecodable)) {
        reading.problem = QCoreApplication::translate(
                "examarticle", "无法识别文章的编码：它既不是GBK编码，也不是UTF-8编码。");
        return reading;
    }
    if (text.isEmpty()) {
        reading.problem =
                QCoreApplication::translate("examarticle", "文章是空的，请选择有内容的文章。");
        return reading;
    }
    if (text.size() > examlimits::kLongestExamTextCharacters) {
        reading.problem =
                QCoreApplication::translate("examarticle",
                                            "文章有%1个字符，超过了%2个字符，请选择较短的文章。")
                        .arg(text.size())
                        .arg(examlimits::kLongestExamTextCharacters);
        return reading;
    }
    QByteArray encoded = gbk::encode(text);
    // Only a failed round trip needs the sign-by-sign search.
    if (gbk::decode(encoded) != text) {
        const QStringList signs = signsOutsideGbk(text);
        QStringList named;
        for (const QString &sign : signs.mid(0, kNamedSigns))
            named << QStringLiteral("“%1”").arg(sign);
        reading.problem =
                QCoreApplication::translate("examarticle",
                                            "文章中有%1种字符无法保存为考试内容（GBK编码）：%2%"
                                            "3，请删除或替换后再选择。")
                        .arg(signs.size())
                        .arg(named.join(QCoreApplication::translate("examarticle", "、")),
                             signs.size() > kNamedSigns
                                     ? QCoreApplication::translate("examarticle", "等")
                                     : QString());
        return reading;
    }
    reading.text = text;
    reading.examBytes = std::move(encoded);
    return reading;
}

Reading fromFile(const QString &path, Source source)
{
    const wholefile::Reading file = wholefile::read(path, kMaxFileBytes);
    if (!file.bytes) {
        Reading reading;
        reading.problem = file.problem;
        return reading;
    }
    return fromBytes(*file.bytes, source);
}

}  // namespace examarticle
