// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/examsettings.h"

#include "exchange/recordlines.h"

QByteArray ExamSettings::toRecordLines() const
{
    return RecordWriter().boolean(loginAllowed).integer(examMinutes).bytes();
}

ExamSettingsReading readExamSettings(QByteArrayView plainBytes)
{
    const RecordReader reader(plainBytes);
    ExamSettingsReading reading;
    reading.lineCount = reader.lineCount();
    reading.loginAllowed = reader.boolean(0);
    reading.examMinutes = reader.int16(1);
    return reading;
}
