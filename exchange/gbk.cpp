#include "gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <bitset>
#include <memory>

namespace gbk {

QByteArray encode(QStringView text)
{
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    QString text = decoder.decode(bytes);
    return text;
}

namespace {

// One bit per BMP code unit: set where GBK needs two bytes. Built once by
// encoding every code unit, so the comparison's per-character question is
// a table lookup rather than a converter call.
std::unique_ptr<std::bitset<0x10000>> buildWideTable()
{
    auto table = std::make_unique<std::bitset<0x10000>>();
    QStringEncoder encoder("GBK");
    for (uint code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;  // lone surrogates do not encode on their own
        const QChar ch(static_cast<char16_t>(code));
        const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
        if (bytes.size() == 2)
            table->set(code);
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
