// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/recordtimeline.h"

#include <QCoreApplication>

RecordTimeline readRecordTimeline(const ResultRecord &record)
{
    const RecordSection *section = findSection(record.sections, keytimeline::kSectionName);
    if (!section)
        return {};
    // A forged record may carry more than any client writes; it is not unpacked.
    if (section->bytes.size() > keytimeline::kMaxEncodedBytes)
        return { std::nullopt,
                 QCoreApplication::translate("RecordTimeline", "按键记录有%1字节，超过上限%2字节")
                         .arg(section->bytes.size())
                         .arg(keytimeline::kMaxEncodedBytes) };
    keytimeline::Reading reading = keytimeline::decode(section->bytes);
    return { std::move(reading.timeline), reading.problem };
}

QString withCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    for (const QChar character : text) {
        if (character == u'\n')
            out += u'\r';
        out += character;
    }
    return out;
}
