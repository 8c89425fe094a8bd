// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/examcheckpoint.h"

#include "exchange/examlimits.h"
#include "exchange/transcode.h"

#include <QDir>
#include <QFileInfo>

ExamCheckpoint::ExamCheckpoint(const QString &workingFolder)
    : m_path(QDir(workingFolder).filePath(fileName()))
{
}

QString ExamCheckpoint::write(const ResultRecord &record) const
{
    return wholefile::write(m_path, transcodeBytes(record.toRecordLines(), kExchangeKey));
}

wholefile::Reading ExamCheckpoint::read() const
{
    if (!QFileInfo::exists(m_path))
        return {};
    return wholefile::read(m_path, examlimits::kMaxResultFileBytes);
}
