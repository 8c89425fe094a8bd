// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for the examinee's earlier records of the exam being opened:
// the checkpoint in the working folder, then the examinee's own files in the
// exchange folder over the transfer channel, the plain name, then "~2",
// "~3" ... until one is missing (a write-once service keeps each upload
// under a new name). What is found goes into PriorRecords.
#include "transfer/examinee.h"
#include "transfer/priorrecords.h"
#include "transfer/transferchannel.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class EarlierRecords : public QObject
{
    Q_OBJECT

public:
    EarlierRecords(TransferChannel &channel, const QString &workingFolder,
                   QObject *parent = nullptr);

    // Starts afresh for this examinee and the exam as downloaded (the digest
    // of its text, its minutes): takes the checkpoint, then asks the channel
    // for the plain name.
    void search(const Examinee &examinee, const QByteArray &examDigest, qint16 examMinutes);
    // The channel's report on the name asked for (Completed, or TooLarge for
    // a file larger than any record): the next name goes out, or ended().
    void takeFetched(TransferChannel::Outcome outcome);

    // What the search has found so far.
    const PriorRecords &found() const { return *m_found; }
    // The highest number among the examinee's names found; 0 when none.
    int newestName() const { return m_newestName; }

signals:
    void ended();

private:
    void lookFor(int number);
    QString remoteName(int number) const;
    QString scratchPath() const;

    TransferChannel &m_channel;
    QString m_folder;
    Examinee m_examinee;
    std::optional<PriorRecords> m_found;
    int m_nameNumber = 0;  // the own file name being looked for
    int m_newestName = 0;
};
