// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/recordsections.h"

namespace {

constexpr QByteArrayView kLineEnd("\r\n");

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The line starting at `from` without its CR LF; empty when no CR LF ends it.
std::optional<QByteArrayView> lineAt(QByteArrayView bytes, qsizetype from)
{
    const qsizetype end = bytes.indexOf(kLineEnd, from);
    if (end < 0)
        return std::nullopt;
    return bytes.sliced(from, end - from);
}

std::optional<QString> nameOf(QByteArrayView line)
{
    if (line.size() < 3 || !line.startsWith('"') || !line.endsWith('"'))
        return std::nullopt;
    const QByteArrayView name = line.sliced(1, line.size() - 2);
    for (char c : name) {
        if (!isNameCharacter(c))
            return std::nullopt;
    }
    return QString::fromLatin1(name);
}

std::optional<qsizetype> countOf(QByteArrayView line)
{
    if (line.isEmpty() || line.size() > 9)
        return std::nullopt;
    qsizetype count = 0;
    for (char c : line) {
        if (c < '0' || c > '9')
            return std::nullopt;
        count = count * 10 + (c - '0');
    }
    return count;
}

}  // namespace

QByteArray sectionBytes(const RecordSection &section)
{
    return '"' + section.name.toLatin1() + "\"\r\n" + QByteArray::number(section.bytes.size())
            + "\r\n" + section.bytes + "\r\n";
}

std::optional<std::vector<RecordSection>> readRecordSections(QByteArrayView bytes, qsizetype offset)
{
    std::vector<RecordSection> sections;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto nameLine = lineAt(bytes, at);
        const auto name = nameLine ? nameOf(*nameLine) : std::nullopt;
        if (!name)
            return std::nullopt;
        const qsizetype countStart = at + nameLine->size() + 2;
        const auto countLine = lineAt(bytes, countStart);
        const auto count = countLine ? countOf(*countLine) : std::nullopt;
        if (!count)
            return std::nullopt;
        const qsizetype bodyStart = countStart + countLine->size() + 2;
        if (bytes.size() - bodyStart < *count + 2
            || bytes.sliced(bodyStart + *count, 2) != kLineEnd)
            return std::nullopt;
        sections.push_back({ *name, bytes.sliced(bodyStart, *count).toByteArray(), offset + at });
        at = bodyStart + *count + 2;
    }
    return sections;
}

const RecordSection *findSection(const std::vector<RecordSection> &sections, QStringView name)
{
    for (const RecordSection &section : sections) {
        if (section.name == name)
            return &section;
    }
    return nullptr;
}
