// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client's file transfer channel (Inet1): gets files from and puts files
// to the examiner's FTP service, one request at a time, in the background.
// Every request reports exactly one outcome, on the thread that owns the
// channel.
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

class QThread;
struct TransferRequest;

class TransferChannel : public QObject
{
    Q_OBJECT

public:
    // How a request ended: Completed, or why not.
    enum class Outcome {
        Completed,
        CannotConnect,  // no connection to the service
        NoAnswer,  // connected, but the service stopped answering
        Refused,  // the service refused a command (login, permission ...)
        ReplaceRefused,  // a put could not replace an existing remote file
        FolderInTheWay,  // a put found a folder under the remote name
        TooLarge,  // a get brought more bytes than the request allows
        LocalFile,  // the local file could not be read or written
    };
    Q_ENUM(Outcome)

    struct Timeouts
    {
        std::chrono::milliseconds connect { 5000 };
        // A transfer that moves no byte for this long has failed.
        std::chrono::milliseconds stall { 15000 };
        // No request takes longer than this, however slowly it moves.
        std::chrono::milliseconds total { 120000 };
    };

    explicit TransferChannel(QObject *parent = nullptr);
    // Aborts a running request and waits for its thread; no report follows.
    ~TransferChannel() override;

    // The examiner's service as typed at login, in any form ServerAddress
    // understands ("127.0.0.1:2121", "ftp://10.0.0.1/typedata"): remote
    // names are taken inside its folder. Read when a request starts; an
    // address that cannot be one ends the request with CannotConnect.
    void setRemoteHost(const QString &host);
    QString remoteHost() const { return m_host; }

    // Local file names are taken relative to this folder (default: the
    // current directory).
    void setWorkingFolder(const QString &folder);
    void setTimeouts(const Timeouts &timeouts) { m_timeouts = timeouts; }

    bool isBusy() const { return m_thread != nullptr; }

    // get() and put() return false, and report nothing, while an earlier
    // request is still running: such a request is refused, never queued or
    // mixed into the running one. Otherwise they return true; the outcome
    // follows later, never from inside the call. A remote name that is not a
    // bare file name of the remote folder is refused (Refused).

    // The most bytes a get brings unless told otherwise.
    static constexpr qint64 kDefaultMaxBytes = 16 * 1024 * 1024;

    // A get reads until the service ends the transfer, whatever size was
    // announced, and leaves the local file only when the whole remote file
    // arrived and was saved. More than `maxBytes` ends with TooLarge.
    // A remote file that does not exist completes with no local file; every
    // other ending without the whole file removes the local one too.
    bool get(const QString &remoteName, const QString &localName,
             qint64 maxBytes = kDefaultMaxBytes);

    // The names of the remote folder, one a line (FTP NLST), into a local
    // file, as a get brings a file.
    bool list(const QString &localName, qint64 maxBytes = kDefaultMaxBytes);

    // A put takes the local file as it is when the request is issued. A new
    // remote name is stored directly. An earlier file is replaced through a
    // temporary remote name renamed over it, so a reader of the remote folder
    // never sees a half-written file under that name; a service that does
    // not rename gets the data under the final name directly and the
    // temporary file removed. A service that keeps existing files (write-once)
    // ends the put with ReplaceRefused, the earlier file untouched. A folder
    // under the remote name ends it with FolderInTheWay.
    //
    // Once the service has let this channel rename a file, a put stores and
    // renames in one FTP session; otherwise, and when that fails, it first
    // asks whether the remote file is there and may be renamed. A new remote
    // host starts without that knowledge.
    bool put(const QString &localName, const QString &remoteName);
    // A put of bytes held in memory, as a put of a file holding them.
    bool putData(const QByteArray &bytes, const QString &remoteName);

    // The name under which a put stores its data until the rename.
    static QString temporaryRemoteName(const QString &remoteName);

signals:
    void finished(TransferChannel::Outcome outcome);

private:
    // Bytes that could not be read from the local file end the put as
    // such.
    bool putRequest(const std::optional<QByteArray> &bytes, const QString &remoteName);
    bool start(TransferRequest request);
    void finish(Outcome outcome, bool renamesAllowed);

    QString m_host;
    QString m_requestHost;  // the host of the running request
    QString m_folder;
    Timeouts m_timeouts;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_abort { false };
    bool m_renamesAllowed = false;  // the service has renamed for this channel
};
