// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "testrecords.h"

#include "resultfilename.h"
#include "testfiles.h"
#include "transcode.h"

ResultRecord sampleRecord(const QString &department, const QString &examNumber, const QString &name,
                          float speed, float accuracy, qint16 timePass)
{
    return { speed, accuracy, timePass, 900, 880, department, examNumber, name, {} };
}

bool writeScrambled(const QString &path, const QByteArray &plain)
{
    return writeFile(path, transcodeBytes(plain, kExchangeKey));
}

QString writeResultFile(const QString &folder, const ResultRecord &record, int sequence)
{
    const QString path = QDir(folder).filePath(
            resultname::forIdentity(record.department, record.examNumber, record.name, sequence));
    return writeScrambled(path, record.toRecordLines()) ? path : QString();
}

QByteArray readScrambled(const QString &path)
{
    return transcodeBytes(readFile(path), kExchangeKey);
}

ResultRecordReading readResultFile(const QString &path)
{
    return readResultRecord(readScrambled(path));
}
