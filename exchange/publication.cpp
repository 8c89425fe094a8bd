// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/publication.h"

#include "exchange/recordlines.h"

#include <QRandomGenerator>

namespace {

constexpr int kIdBytes = 16;

bool isHexId(const QString &id)
{
    if (id.size() != 2 * kIdBytes)
        return false;
    for (const QChar c : id) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

}  // namespace

QString Publication::newId()
{
    QString id;
    for (int word = 0; word < kIdBytes / 4; ++word)
        id += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    return id;
}

QByteArray Publication::toRecordLines() const
{
    return RecordWriter().text(id).boolean(codesRequired).bytes();
}

std::optional<Publication> Publication::fromRecordLines(QByteArrayView bytes)
{
    // A file cut short loses its last line end.
    if (!bytes.endsWith("\r\n"))
        return std::nullopt;
    const RecordReader reader(bytes);
    const std::optional<QString> id = reader.text(0);
    const std::optional<bool> codes = reader.boolean(1);
    if (reader.lineCount() != 2 || !id || !codes || !isHexId(*id))
        return std::nullopt;
    return Publication { *id, *codes };
}

RecordSection Publication::section() const
{
    return RecordSection { sectionName(), id.toLatin1() };
}

QString publicationOf(const std::vector<RecordSection> &sections)
{
    const RecordSection *section = findSection(sections, Publication::sectionName());
    return section ? QString::fromLatin1(section->bytes) : QString();
}
