// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/earlierrecords.h"

#include "examlimits.h"
#include "resultfilename.h"
#include "transfer/examcheckpoint.h"
#include "transfer/resultupload.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>

namespace {

// The scratch copy of the own file being looked at.
const QString kPriorRecord = QStringLiteral("prior.zip");

}  // namespace

EarlierRecords::EarlierRecords(TransferChannel &channel, const QString &workingFolder,
                               QObject *parent)
    : QObject(parent), m_channel(channel), m_folder(workingFolder)
{
}

QString EarlierRecords::scratchPath() const
{
    return QDir(m_folder).filePath(kPriorRecord);
}

QString EarlierRecords::remoteName(int number) const
{
    return resultname::forIdentity(m_examinee.department, m_examinee.examNumber, m_examinee.name,
                                   number);
}

void EarlierRecords::search(const Examinee &examinee, const QByteArray &examDigest,
                            qint16 examMinutes)
{
    m_examinee = examinee;
    m_found.emplace(examinee, examDigest, examMinutes);
    const QString here = QStringLiteral("本机的续考记录");
    const wholefile::Reading checkpoint = ExamCheckpoint(m_folder).read();
    if (checkpoint.bytes)
        m_found->take(*checkpoint.bytes, here);
    else if (!checkpoint.problem.isEmpty())
        m_found->note(here, checkpoint.problem);
    m_newestName = 0;
    lookFor(1);
}

void EarlierRecords::lookFor(int number)
{
    m_nameNumber = number;
    QFile::remove(scratchPath());
    m_channel.get(remoteName(number), kPriorRecord, examlimits::kMaxResultFileBytes);
}

void EarlierRecords::takeFetched(TransferChannel::Outcome outcome)
{
    const QString remote = remoteName(m_nameNumber);
    bool found = outcome == TransferChannel::Outcome::TooLarge;
    if (found) {
        m_found->note(remote, QStringLiteral("文件太大"));
    } else if (QFile::exists(scratchPath())) {
        found = true;
        const wholefile::Reading prior =
                wholefile::read(scratchPath(), examlimits::kMaxResultFileBytes);
        if (prior.bytes)
            m_found->take(*prior.bytes, remote);
        else
            m_found->note(remote, prior.problem);
        QFile::remove(scratchPath());
    }
    // The names run on until one is missing.
    if (found) {
        m_newestName = m_nameNumber;
        if (m_nameNumber < ResultUpload::kMaxNewNames) {
            lookFor(m_nameNumber + 1);
            return;
        }
    }
    emit ended();
}
