// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/transferchannel.h"

#include "transfer/ftprequest.h"
#include "transfer/serveraddress.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include <mutex>

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Remote names are bare file names in the exchange folder. Anything that
// would reach another folder or smuggle a second FTP command is refused.
bool isBareRemoteName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

}  // namespace

TransferChannel::TransferChannel(QObject *parent) : QObject(parent), m_folder(QDir::currentPath())
{
    initCurlOnce();
}

TransferChannel::~TransferChannel()
{
    if (m_thread) {
        m_abort = true;
        m_thread->wait();
        delete m_thread;
    }
}

void TransferChannel::setRemoteHost(const QString &host)
{
    // What one service allowed says nothing about another.
    if (host != m_host)
        m_renamesAllowed = false;
    m_host = host;
}

void TransferChannel::setWorkingFolder(const QString &folder)
{
    m_folder = folder;
}

QString TransferChannel::temporaryRemoteName(const QString &remoteName)
{
    return remoteName + QLatin1String(".part");
}

bool TransferChannel::get(const QString &remoteName, const QString &localName, qint64 maxBytes)
{
    TransferRequest request;
    request.kind = TransferRequest::Kind::Get;
    request.maxBytes = maxBytes;
    request.remoteName = remoteName;
    request.localPath = QDir(m_folder).filePath(localName);
    return start(std::move(request));
}

bool TransferChannel::list(const QString &localName, qint64 maxBytes)
{
    TransferRequest request;
    request.kind = TransferRequest::Kind::List;
    request.maxBytes = maxBytes;
    request.localPath = QDir(m_folder).filePath(localName);
    return start(std::move(request));
}

bool TransferChannel::put(const QString &localName, const QString &remoteName)
{
    if (isBusy())
        return false;
    QFile local(QDir(m_folder).filePath(localName));
    if (!local.open(QIODevice::ReadOnly))
        return putRequest(std::nullopt, remoteName);
    const QByteArray bytes = local.readAll();
    return putRequest(local.error() == QFileDevice::NoError ? std::optional(bytes) : std::nullopt,
                      remoteName);
}

bool TransferChannel::putData(const QByteArray &bytes, const QString &remoteName)
{
    return putRequest(bytes, remoteName);
}

bool TransferChannel::putRequest(const std::optional<QByteArray> &bytes, const QString &remoteName)
{
    TransferRequest request;
    request.kind = TransferRequest::Kind::Put;
    request.remoteName = remoteName;
    request.localReadable = bytes.has_value();
    request.upload = bytes.value_or(QByteArray());
    return start(std::move(request));
}

bool TransferChannel::start(TransferRequest request)
{
    if (isBusy())
        return false;
    const ServerAddressReading address = parseServerAddress(m_host);
    if (address.address)
        request.baseUrl = address.address->baseUrl();
    if (!address.address) {
        request.kind = TransferRequest::Kind::Invalid;
        request.invalidOutcome = Outcome::CannotConnect;
    } else if (request.kind != TransferRequest::Kind::List
               && !isBareRemoteName(request.remoteName)) {
        request.kind = TransferRequest::Kind::Invalid;
    }
    request.timeouts = m_timeouts;
    request.renamesAllowed = m_renamesAllowed;
    m_requestHost = m_host;
    m_abort = false;

    // The outcome travels to this object's thread as a queued call; the
    // destructor waits for the worker, so it never reaches a deleted channel.
    m_thread = QThread::create([this, request = std::move(request)] {
        const TransferResult result = runTransferRequest(request, m_abort);
        QMetaObject::invokeMethod(
                this, [this, result] { finish(result.outcome, result.renamesAllowed); },
                Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void TransferChannel::finish(Outcome outcome, bool renamesAllowed)
{
    // The worker has posted its last word; it is leaving its function now.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (m_host == m_requestHost)
        m_renamesAllowed = renamesAllowed;
    // Not busy any more, so a receiver may issue the next request at once.
    emit finished(outcome);
}
