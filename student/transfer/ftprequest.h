// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One request of the transfer channel, run with libcurl on the channel's
// worker thread: a get, or a put in as few FTP sessions as the service
// allows. Only the channel uses this.
#include "transfer/transferchannel.h"

#include <QByteArray>
#include <QString>

#include <atomic>

struct TransferRequest
{
    enum class Kind { Get, List, Put, Invalid };
    Kind kind = Kind::Invalid;
    QByteArray baseUrl;  // "ftp://host[:port]/folder/"
    QString remoteName;  // final remote name
    QString localPath;  // get, list: where the file goes
    QByteArray upload;  // put: the bytes to send
    qint64 maxBytes = 0;  // get, list: the most bytes the local file may hold
    bool localReadable = true;
    TransferChannel::Outcome invalidOutcome = TransferChannel::Outcome::Refused;
    TransferChannel::Timeouts timeouts;
    // The service has let this channel rename a file before.
    bool renamesAllowed = false;
};

struct TransferResult
{
    TransferChannel::Outcome outcome = TransferChannel::Outcome::Completed;
    // What the channel knows about the service's renames after the request.
    bool renamesAllowed = false;
};

// Runs the request to its end; `abort`, set from another thread, ends it
// early.
TransferResult runTransferRequest(const TransferRequest &request, const std::atomic<bool> &abort);
