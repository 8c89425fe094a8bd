// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/recordlines.h"

#include "exchange/gbk.h"
#include "exchange/numbers.h"

#include <cmath>

QStringList splitRecordLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != u'\r')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start).toString());
    return lines;
}

QString withCrLfLines(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += QLatin1String("\r\n");
        } else if (ch == u'\n') {
            out += QLatin1String("\r\n");
        } else {
            out += ch;
        }
    }
    if (!out.isEmpty() && !out.endsWith(QLatin1String("\r\n")))
        out += QLatin1String("\r\n");
    return out;
}

RecordWriter &RecordWriter::integer(qint64 value)
{
    m_text += QString::number(value) + QLatin1String("\r\n");
    return *this;
}

RecordWriter &RecordWriter::single(float value)
{
    m_text += numbers::singleText(value) + QLatin1String("\r\n");
    return *this;
}

RecordWriter &RecordWriter::boolean(bool value)
{
    m_text += (value ? QLatin1String("#TRUE#") : QLatin1String("#FALSE#")) + QLatin1String("\r\n");
    return *this;
}

RecordWriter &RecordWriter::text(QStringView value)
{
    m_text += QLatin1Char('"') + value + QLatin1String("\"\r\n");
    return *this;
}

QByteArray RecordWriter::bytes() const
{
    return gbk::encode(m_text);
}

RecordReader::RecordReader(QByteArrayView gbkBytes)
    : m_lines(splitRecordLines(gbk::decode(gbkBytes)))
{
}

std::optional<QString> RecordReader::line(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return std::nullopt;
    return m_lines.at(index);
}

std::optional<bool> RecordReader::boolean(int index) const
{
    const auto value = line(index);
    if (!value)
        return std::nullopt;
    const QString word = value->trimmed();
    if (word == QLatin1String("#TRUE#"))
        return true;
    if (word == QLatin1String("#FALSE#"))
        return false;
    return std::nullopt;
}

std::optional<qint16> RecordReader::int16(int index) const
{
    const auto value = line(index);
    return value ? numbers::parseInt16(*value) : std::nullopt;
}

std::optional<qint32> RecordReader::int32(int index) const
{
    const auto value = line(index);
    return value ? numbers::parseInt32(*value) : std::nullopt;
}

std::optional<float> RecordReader::single(int index) const
{
    const auto value = line(index);
    if (!value)
        return std::nullopt;
    const auto number = numbers::parseNumber(*value);
    if (!number || std::abs(*number) > 3.4e38)
        return std::nullopt;
    return static_cast<float>(*number);
}

std::optional<QString> RecordReader::text(int index) const
{
    const auto value = line(index);
    if (!value || value->size() < 2)
        return std::nullopt;
    return value->mid(1, value->size() - 2);
}
