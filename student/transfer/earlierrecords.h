// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for the examinee's earlier records of the exam being opened:
// the checkpoint in the working folder, then the examinee's own files in the
// exchange folder over the transfer channel. One listing of the folder names
// every "~N" of them (a write-once service keeps each upload under a new
// name), gaps or not; a service that refuses to list is asked name by name,
// the plain name, then "~2", "~3" ... until one is missing. What is found
// goes into PriorRecords.
#include "transfer/examinee.h"
#include "transfer/priorrecords.h"
#include "transfer/transferchannel.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

class EarlierRecords : public QObject
{
    Q_OBJECT

public:
    EarlierRecords(TransferChannel &channel, const QString &workingFolder,
                   QObject *parent = nullptr);

    // Starts afresh for this examinee and the exam as downloaded (the digest
    // of its text, its minutes): takes the checkpoint, then asks the channel
    // for the folder's listing.
    void search(const Examinee &examinee, const QByteArray &examDigest, qint16 examMinutes);
    // The channel's report on the listing or the name asked for (Completed,
    // or TooLarge for a file larger than any record): the next name goes
    // out, or ended().
    void takeFetched(TransferChannel::Outcome outcome);

    // What the search has found so far.
    const PriorRecords &found() const { return *m_found; }
    // The highest number among the examinee's names found; 0 when none.
    int newestName() const { return m_newestName; }

signals:
    void ended();

private:
    void takeListing(TransferChannel::Outcome outcome);
    void lookFor(int number);
    void lookForNext();
    QString remoteName(int number) const;
    QString scratchPath() const;

    TransferChannel &m_channel;
    QString m_folder;
    Examinee m_examinee;
    std::optional<PriorRecords> m_found;
    int m_nameNumber = 0;  // the own file name being looked for
    bool m_listing = false;  // the listing is on its way
    // The own names the listing gave, still to fetch, highest last; without
    // a listing the names are probed one after another.
    std::optional<QVector<int>> m_listed;
    int m_newestName = 0;
};
