// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/retakepermission.h"

#include "exchange/resultfilename.h"
#include "exchange/retakeleave.h"
#include "exchange/transcode.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFile>

namespace {

// The scratch copy of the permission while it is read.
const QString kPermission = QStringLiteral("retake.dat");

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
                  kPermission, retakeleave::kMaxBytes);
}

QString RetakePermission::takeSetAsideSession(const QByteArray &key)
{
    const QByteArray permission =
            wholefile::read(scratchPath(), retakeleave::kMaxBytes).bytes.value_or(QByteArray());
    QFile::remove(scratchPath());
    return retakeleave::sessionOf(transcodeBytes(permission, kExchangeKey), key)
            .value_or(QString());
}
