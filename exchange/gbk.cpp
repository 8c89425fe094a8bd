// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/gbk.h"

#include <QCoreApplication>

#include <bitset>
#include <limits>
#include <memory>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

namespace gbk {

#ifdef Q_OS_WIN

// Qt on Windows is built without ICU, so it has no GBK converter of its
// own; the system's code page 936 is GBK.
namespace {
constexpr UINT kCodePage = 936;
}

QString unavailableProblem()
{
    if (IsValidCodePage(kCodePage))
        return QString();
    return QCoreApplication::translate(
            "gbk",
            "本机没有安装简体中文代码页 936（GBK），程序无法读写考试文件。"
            "请在控制面板的“区域”设置中添加简体中文支持。");
}

QByteArray encode(QStringView text)
{
    if (text.isEmpty() || text.size() > std::numeric_limits<int>::max() / 2)
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = int(text.size());
    const int size = WideCharToMultiByte(kCodePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(kCodePage, 0, wide, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<int>::max())
        return QString();
    const int length = int(bytes.size());
    const int size =
            MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size > 0) {
        QString text(size, Qt::Uninitialized);
        MultiByteToWideChar(kCodePage, 0, bytes.data(), length,
                            reinterpret_cast<wchar_t *>(text.data()), size);
        return text;
    }
    // Invalid bytes somewhere: Windows would map them to look-alike
    // characters silently. Decode sequence by sequence instead so that each
    // invalid one becomes U+FFFD, as with Qt's own converters.
    QString text;
    text.reserve(length);
    for (int i = 0; i < length;) {
        const auto lead = uchar(bytes[i]);
        if (lead < 0x80) {
            text.append(QChar(char16_t(lead)));
            ++i;
            continue;
        }
        const auto trail = i + 1 < length ? uchar(bytes[i + 1]) : uchar(0);
        const int width =
                lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2
                                                                                                : 1;
        wchar_t unit = 0;
        if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data() + i, width, &unit, 1)
            == 1)
            text.append(QChar(char16_t(unit)));
        else
            text.append(QChar::ReplacementCharacter);
        i += width;
    }
    return text;
}

std::optional<QString> decodeStrict(QByteArrayView bytes)
{
    if (bytes.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    if (!bytes.isEmpty()
        && MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                               nullptr, 0)
                <= 0)
        return std::nullopt;
    return decode(bytes);
}

#else

QString unavailableProblem()
{
    if (QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid())
        return QString();
    return QCoreApplication::translate(
            "gbk", "本机的 Qt 没有 GBK 转换器（需要带 ICU 的 Qt），程序无法读写考试文件。");
}

QByteArray encode(QStringView text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

std::optional<QString> decodeStrict(QByteArrayView bytes)
{
    // Stateless: a lead byte without its trail at the end is an error.
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

#endif

namespace {

// For every BMP code unit: whether GBK needs two bytes for it, and whether
// it comes back from GBK as it went in (not "?" nor a look-alike). Built
// once by encoding every code unit in one pass (each followed by a
// separator) and decoding the result, so that the per-character questions
// of the comparison and the typing box are table lookups rather than
// converter calls.
struct CodeTable
{
    std::bitset<0x10000> wide;
    std::bitset<0x10000> stored;
};

bool isSurrogate(uint code)
{
    return code >= 0xD800 && code < 0xE000;
}

std::unique_ptr<CodeTable> buildTable()
{
    QString all;
    all.reserve(2 * 0x10000);
    for (uint code = 0x80; code < 0x10000; ++code) {
        if (isSurrogate(code))
            continue;  // lone surrogates do not encode on their own
        all.append(QChar(char16_t(code)));
        all.append(u'\n');
    }
    const QByteArray bytes = encode(all);
    // No GBK trail byte is a line feed, so the separators part the decoded
    // text as they part the bytes.
    const QString back = decode(bytes);
    auto table = std::make_unique<CodeTable>();
    for (uint code = 0; code < 0x80; ++code)
        table->stored.set(code);
    qsizetype start = 0;
    qsizetype backStart = 0;
    for (uint code = 0x80; code < 0x10000; ++code) {
        if (isSurrogate(code))
            continue;
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype backEnd = back.indexOf(u'\n', backStart);
        if (end < 0 || backEnd < 0)
            break;
        if (end - start == 2)
            table->wide.set(code);
        if (backEnd - backStart == 1 && back.at(backStart).unicode() == code)
            table->stored.set(code);
        start = end + 1;
        backStart = backEnd + 1;
    }
    return table;
}

const CodeTable &codeTable()
{
    static const auto table = buildTable();
    return *table;
}

}  // namespace

int byteWidth(QChar ch)
{
    if (ch.unicode() < 0x80)
        return 1;
    return codeTable().wide.test(ch.unicode()) ? 2 : 1;
}

bool canStore(QChar ch)
{
    return codeTable().stored.test(ch.unicode());
}

Parted partStorable(QStringView text)
{
    Parted parted;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (canStore(ch)) {
            parted.kept.append(ch);
            continue;
        }
        parted.refused.append(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            parted.refused.append(text[++i]);
    }
    return parted;
}

}  // namespace gbk
