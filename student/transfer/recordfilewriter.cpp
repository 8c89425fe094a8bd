// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/recordfilewriter.h"

#include "transfer/resultupload.h"

#include <utility>

RecordFileWriter::RecordFileWriter(const QString &workingFolder, QObject *parent)
    : QObject(parent), m_folder(workingFolder), m_checkpoint(workingFolder)
{
    m_worker.setMaxThreadCount(1);
}

RecordFileWriter::~RecordFileWriter()
{
    // Before this object goes: the reports still to come are dropped with
    // it.
    waitForWritten();
}

void RecordFileWriter::write(ResultRecord record, bool sent)
{
    m_worker.start([this, record = std::move(record), sent] {
        const wholefile::Reading recordFile =
                sent ? ResultUpload::writeLocal(m_folder, record) : wholefile::Reading {};
        m_checkpoint.write(record);
        QMetaObject::invokeMethod(
                this, [this, sent, recordFile] { emit written(sent, recordFile); },
                Qt::QueuedConnection);
    });
}

bool RecordFileWriter::waitForWritten(int msecs)
{
    return m_worker.waitForDone(msecs);
}
