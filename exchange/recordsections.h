// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Named sections a client appends to a result record after its answer
// sheet. Each is framed like the sheet's text: a quoted name line, a line
// with the byte count, exactly that many bytes and a closing CR LF, so a
// reader steps over sections it does not know, and a section cut short or
// padded shows as damage, not as a shorter record.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

struct RecordSection
{
    QString name;  // ASCII letters, digits and dashes
    QByteArray bytes;
    // Where the section's name line starts in the record it was read from;
    // what comes before it is what a signature section covers.
    qsizetype offset = 0;
};

QByteArray sectionBytes(const RecordSection &section);

// The sections that fill `bytes` exactly, their offsets counted from
// `offset`; empty when the bytes are not whole sections only.
std::optional<std::vector<RecordSection>> readRecordSections(QByteArrayView bytes,
                                                             qsizetype offset = 0);

// The first section of that name, or null.
const RecordSection *findSection(const std::vector<RecordSection> &sections, QStringView name);
