// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers/ziparchive.h"

#include <zlib.h>

namespace xlsx {

namespace {

quint32 le(const QByteArray &bytes, qint64 at, int width)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

}  // namespace

bool ZipArchive::index()
{
    const qint64 size = m_bytes.size();
    constexpr qint64 kEndRecord = 22;
    if (size < kEndRecord)
        return false;
    // The end record sits in the last 22 bytes plus a comment of up to 64 KiB.
    qint64 end = -1;
    for (qint64 at = size - kEndRecord; at >= 0 && at >= size - kEndRecord - 0xFFFF; --at) {
        if (le(m_bytes, at, 4) == 0x06054b50) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return false;
    const quint32 count = le(m_bytes, end + 10, 2);
    qint64 at = le(m_bytes, end + 16, 4);
    for (quint32 i = 0; i < count; ++i) {
        if (at + 46 > size || le(m_bytes, at, 4) != 0x02014b50)
            return false;
        Member member;
        member.method = le(m_bytes, at + 10, 2);
        member.packedSize = le(m_bytes, at + 20, 4);
        member.size = le(m_bytes, at + 24, 4);
        const qint64 nameLength = le(m_bytes, at + 28, 2);
        const qint64 extraLength = le(m_bytes, at + 30, 2);
        const qint64 commentLength = le(m_bytes, at + 32, 2);
        member.localHeader = le(m_bytes, at + 42, 4);
        if (at + 46 + nameLength > size)
            return false;
        const QString name = QString::fromUtf8(m_bytes.mid(at + 46, nameLength));
        m_members.insert(name, member);
        m_names.append(name);
        at += 46 + nameLength + extraLength + commentLength;
    }
    return true;
}

std::optional<QByteArray> ZipArchive::member(const QString &name) const
{
    m_tooLarge = false;
    const auto found = m_members.constFind(name);
    if (found == m_members.constEnd())
        return std::nullopt;
    const Member &m = *found;
    const qint64 header = m.localHeader;
    if (header + 30 > m_bytes.size() || le(m_bytes, header, 4) != 0x04034b50)
        return std::nullopt;
    const qint64 data = header + 30 + le(m_bytes, header + 26, 2) + le(m_bytes, header + 28, 2);
    if (data + qint64(m.packedSize) > m_bytes.size())
        return std::nullopt;
    if (m.method == 0) {
        m_tooLarge = m.packedSize > kMaxPartBytes;
        return m_tooLarge ? std::nullopt : std::optional(m_bytes.mid(data, m.packedSize));
    }
    if (m.method != 8)
        return std::nullopt;
    z_stream stream {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(m_bytes.constData() + data));
    stream.avail_in = m.packedSize;
    // In steps, so that inflating stops as soon as the part is too large.
    QByteArray out;
    constexpr qint64 kStep = 256 * 1024;
    int status = Z_OK;
    while (status == Z_OK) {
        if (out.size() >= kMaxPartBytes) {
            m_tooLarge = true;
            break;
        }
        const qint64 before = out.size();
        out.resize(before + kStep);
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + before);
        stream.avail_out = uInt(kStep);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(before + kStep - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            break;  // cut off
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || out.size() > kMaxPartBytes)
        return std::nullopt;
    return out;
}

}  // namespace xlsx
