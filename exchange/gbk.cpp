// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gbk.h"

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
    return QStringLiteral("本机没有安装简体中文代码页 936（GBK），程序无法读写考试文件。"
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
    return QStringLiteral("本机的 Qt 没有 GBK 转换器（需要带 ICU 的 Qt），程序无法读写考试文件。");
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

// One bit per BMP code unit: set where GBK needs two bytes. Built once by
// encoding every code unit in one pass (each followed by a separator), so
// the comparison's per-character question is a table lookup rather than a
// converter call.
std::unique_ptr<std::bitset<0x10000>> buildWideTable()
{
    QString all;
    all.reserve(2 * 0x10000);
    for (uint code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;  // lone surrogates do not encode on their own
        all.append(QChar(char16_t(code)));
        all.append(u'\n');
    }
    const QByteArray bytes = encode(all);
    auto table = std::make_unique<std::bitset<0x10000>>();
    qsizetype start = 0;
    for (uint code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            break;
        if (end - start == 2)
            table->set(code);
        start = end + 1;
    }
    return table;
}

}  // namespace

int byteWidth(QChar ch)
{
    if (ch.unicode() < 0x80)
        return 1;
    static const auto wide = buildWideTable();
    return wide->test(ch.unicode()) ? 2 : 1;
}

}  // namespace gbk
