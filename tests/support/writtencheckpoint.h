// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client's checkpoint as its record writer leaves it. It is read only
// once the writer has written what it was handed: on Windows a file held
// open cannot be replaced, so a reader polling it would make the writer's
// next checkpoint fail.
#include "exchange/resultrecord.h"
#include "exchange/transcode.h"
#include "transfer/examcheckpoint.h"
#include "transfer/recordfilewriter.h"

inline ResultRecordReading writtenCheckpoint(RecordFileWriter &writer, const QString &folder)
{
    if (!writer.waitForWritten(20000))
        return { std::nullopt, QString(), QStringLiteral("the writer is still writing") };
    const QByteArray scrambled = ExamCheckpoint(folder).read().bytes.value_or(QByteArray());
    return readResultRecord(transcodeBytes(scrambled, kExchangeKey));
}
