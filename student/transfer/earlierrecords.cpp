// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/earlierrecords.h"

#include "exchange/examlimits.h"
#include "exchange/resultfilename.h"
#include "transfer/examcheckpoint.h"
#include "transfer/resultupload.h"
#include "exchange/wholefile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <functional>

namespace {

// The scratch copy of the own file being looked at.
const QString kPriorRecord = QStringLiteral("prior.zip");
// The scratch copy of the folder's listing; a class's names are far fewer.
const QString kListing = QStringLiteral("listing.txt");
constexpr qint64 kMaxListingBytes = 4 * 1024 * 1024;

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
    const QString here = tr("本机的续考记录");
    const wholefile::Reading checkpoint = ExamCheckpoint(m_folder).read();
    if (checkpoint.bytes)
        m_found->take(*checkpoint.bytes, here);
    else if (!checkpoint.problem.isEmpty())
        m_found->note(here, checkpoint.problem);
    m_newestName = 0;
    m_listed.reset();
    m_listing = true;
    QFile::remove(QDir(m_folder).filePath(kListing));
    m_channel.list(kListing, kMaxListingBytes);
}

void EarlierRecords::takeListing(TransferChannel::Outcome outcome)
{
    m_listing = false;
    const QString path = QDir(m_folder).filePath(kListing);
    const wholefile::Reading listing = outcome == TransferChannel::Outcome::Completed
            ? wholefile::read(path, kMaxListingBytes)
            : wholefile::Reading {};
    QFile::remove(path);
    if (!listing.bytes) {
        // A service that cannot list is asked name by name.
        lookFor(1);
        return;
    }
    QVector<int> numbers;
    for (const QByteArray &line : listing.bytes->split('\n')) {
        // Some services list a path before each name.
        const QString listed = QString::fromUtf8(line.trimmed()).section(u'/', -1);
        if (const int number = resultname::numberOf(listed, m_examinee.department,
                                                    m_examinee.examNumber, m_examinee.name))
            numbers << number;
    }
    std::sort(numbers.begin(), numbers.end(), std::greater<int>());
    m_listed = numbers;
    lookForNext();
}

void EarlierRecords::lookForNext()
{
    if (m_listed->isEmpty()) {
        emit ended();
        return;
    }
    lookFor(m_listed->takeLast());
}

void EarlierRecords::lookFor(int number)
{
    m_nameNumber = number;
    QFile::remove(scratchPath());
    m_channel.get(remoteName(number), kPriorRecord, examlimits::kMaxResultFileBytes);
}

void EarlierRecords::takeFetched(TransferChannel::Outcome outcome)
{
    if (m_listing) {
        takeListing(outcome);
        return;
    }
    const QString remote = remoteName(m_nameNumber);
    bool found = outcome == TransferChannel::Outcome::TooLarge;
    if (found) {
        m_found->note(remote, tr("文件太大"));
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
    if (m_listed) {
        // A listed name that has gone meanwhile still was taken.
        m_newestName = std::max(m_newestName, m_nameNumber);
        lookForNext();
        return;
    }
    // Without a listing the names run on until one is missing.
    if (found) {
        m_newestName = m_nameNumber;
        if (m_nameNumber < ResultUpload::kMaxNewNames) {
            lookFor(m_nameNumber + 1);
            return;
        }
    }
    emit ended();
}
