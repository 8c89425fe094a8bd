// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/xlsxnumbers.h"

#include "readers/ziparchive.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QVector>

#include <zlib.h>
#include <QCoreApplication>

namespace xlsxnumbers {

namespace {

const QByteArray kValueOpen = QByteArrayLiteral("<v>");
const QByteArray kValueClose = QByteArrayLiteral("</v>");

void putLe(QByteArray &out, quint32 value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

struct Packed
{
    QByteArray name;
    QByteArray data;  // raw deflate
    quint32 crc = 0;
    quint32 size = 0;
    quint32 offset = 0;
};

std::optional<QByteArray> deflated(const QByteArray &bytes)
{
    z_stream stream {};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
        != Z_OK)
        return std::nullopt;
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return status == Z_STREAM_END ? std::optional(out) : std::nullopt;
}

// The fields a local header and a central directory entry share, from the
// version needed on: deflated, dated 1980-01-01.
void putCommon(QByteArray &out, const Packed &member)
{
    putLe(out, 20, 2);  // version needed
    putLe(out, 0, 2);  // flags
    putLe(out, 8, 2);  // deflated
    putLe(out, 0, 2);  // time
    putLe(out, 0x21, 2);  // date
    putLe(out, member.crc, 4);
    putLe(out, quint32(member.data.size()), 4);
    putLe(out, member.size, 4);
    putLe(out, quint32(member.name.size()), 2);
    putLe(out, 0, 2);  // extra field
}

QByteArray zipped(QVector<Packed> &members)
{
    QByteArray out;
    for (Packed &member : members) {
        member.offset = quint32(out.size());
        putLe(out, 0x04034b50, 4);
        putCommon(out, member);
        out += member.name + member.data;
    }
    const quint32 directory = quint32(out.size());
    for (const Packed &member : members) {
        putLe(out, 0x02014b50, 4);
        putLe(out, 20, 2);  // made by
        putCommon(out, member);
        putLe(out, 0, 2);  // comment
        putLe(out, 0, 2);  // disk
        putLe(out, 0, 2);  // internal attributes
        putLe(out, 0, 4);  // external attributes
        putLe(out, member.offset, 4);
        out += member.name;
    }
    const quint32 directorySize = quint32(out.size()) - directory;
    putLe(out, 0x06054b50, 4);
    putLe(out, 0, 4);  // this disk, the directory's disk
    putLe(out, quint32(members.size()), 2);
    putLe(out, quint32(members.size()), 2);
    putLe(out, directorySize, 4);
    putLe(out, directory, 4);
    putLe(out, 0, 2);  // comment
    return out;
}

}  // namespace

QByteArray shortest(const QByteArray &sheetXml)
{
    QByteArray out;
    out.reserve(sheetXml.size());
    qsizetype from = 0;
    for (qsizetype open = sheetXml.indexOf(kValueOpen); open >= 0;
         open = sheetXml.indexOf(kValueOpen, from)) {
        const qsizetype start = open + kValueOpen.size();
        const qsizetype close = sheetXml.indexOf(kValueClose, start);
        if (close < 0)
            break;
        out.append(sheetXml.constData() + from, start - from);
        const QByteArray value = sheetXml.mid(start, close - start);
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        out += isNumber ? QByteArray::number(number, 'g', QLocale::FloatingPointShortest) : value;
        from = close;
    }
    out.append(sheetXml.constData() + from, sheetXml.size() - from);
    return out;
}

QString tidy(const QString &path)
{
    const QString unreadable = QCoreApplication::translate("xlsxnumbers", "写出的文件无法读回");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    xlsx::ZipArchive archive(file.readAll());
    file.close();
    if (!archive.index())
        return unreadable;
    QVector<Packed> members;
    for (const QString &name : archive.names()) {
        std::optional<QByteArray> bytes = archive.member(name);
        if (!bytes)
            return archive.tooLarge() ? QString() : unreadable;
        if (name.startsWith(QLatin1String("xl/worksheets/"))
            && name.endsWith(QLatin1String(".xml")))
            bytes = shortest(*bytes);
        const std::optional<QByteArray> data = deflated(*bytes);
        if (!data)
            return QCoreApplication::translate("xlsxnumbers", "无法压缩");
        members.append({ name.toUtf8(), *data,
                         quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes->constData()),
                                       uInt(bytes->size()))),
                         quint32(bytes->size()), 0 });
    }
    QSaveFile out(path);
    const QByteArray bytes = zipped(members);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return out.errorString();
    return {};
}

}  // namespace xlsxnumbers
