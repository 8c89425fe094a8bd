// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/retakepermission.h"

#include "recordlines.h"
#include "resultfilename.h"
#include "transcode.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>

namespace {

// The scratch copy of the permission while it is read.
const QString kPermission = QStringLiteral("retake.dat");
constexpr qint64 kMaxPermissionBytes = 1024;

}  // namespace

RetakePermission::RetakePermission(TransferChannel &channel, const QString &workingFolder)
    : m_channel(channel), m_folder(workingFolder)
{
}

QString RetakePermission::scratchPath() const
{
    return QDir(m_folder).filePath(kPermission);
}

void RetakePermission::request(const Examinee &examinee)
{
    QFile::remove(scratchPath());
    m_channel.get(resultname::retakeFor(examinee.department, examinee.examNumber, examinee.name),
                  kPermission, kMaxPermissionBytes);
}

QString RetakePermission::takeSetAsideSession()
{
    const QByteArray permission =
            wholefile::read(scratchPath(), kMaxPermissionBytes).bytes.value_or(QByteArray());
    QFile::remove(scratchPath());
    return RecordReader(transcodeBytes(permission, kExchangeKey)).text(0).value_or(QString());
}
