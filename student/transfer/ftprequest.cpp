// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/ftprequest.h"

#include "exchange/wholefile.h"

#include <curl/curl.h>

#include <QFile>
#include <QList>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

namespace {

using Outcome = TransferChannel::Outcome;

QByteArray urlOf(const QByteArray &baseUrl, const QString &remoteName)
{
    // Every reserved sign is escaped, so a name like "a;type=a" stays a name.
    return baseUrl + QUrl::toPercentEncoding(remoteName);
}

struct Transfer
{
    const std::atomic<bool> *abort = nullptr;
    // A request may take several FTP sessions; together they end by this time.
    std::chrono::steady_clock::time_point deadline;
    bool renamesAllowed = false;
};

int onProgress(void *data, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer *>(data)->abort->load() ? 1 : 0;
}

struct CurlHandle
{
    CURL *curl = curl_easy_init();
    curl_slist *before = nullptr;  // commands ahead of the transfer
    curl_slist *commands = nullptr;  // commands after it
    ~CurlHandle()
    {
        curl_slist_free_all(before);
        curl_slist_free_all(commands);
        curl_easy_cleanup(curl);
    }

    CURLcode perform() const { return curl_easy_perform(curl); }
    // True once a connection to the service stood, answered or not.
    bool connected() const
    {
        curl_off_t micros = 0;
        curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &micros);
        return micros > 0;
    }
};

Outcome failureOf(CURLcode result, const CurlHandle &handle)
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return Outcome::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return handle.connected() ? Outcome::NoAnswer : Outcome::CannotConnect;
    case CURLE_LOGIN_DENIED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return Outcome::Refused;
    case CURLE_WRITE_ERROR:
    case CURLE_READ_ERROR:
        return Outcome::LocalFile;
    default:
        // Dropped connections, cut transfers, replies that make no sense.
        return Outcome::NoAnswer;
    }
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

void setCommonOptions(CurlHandle &handle, const QByteArray &url,
                      const TransferChannel::Timeouts &timeouts, Transfer *transfer)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    using std::chrono::seconds;
    CURL *curl = handle.curl;
    // Names travel as UTF-8; some services expect to be told so. Those that
    // do not know the command may refuse it ("*").
    handle.before = curl_slist_append(handle.before, "*OPTS UTF8 ON");
    curl_easy_setopt(curl, CURLOPT_QUOTE, handle.before);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    const auto left =
            duration_cast<milliseconds>(transfer->deadline - std::chrono::steady_clock::now());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(std::max<milliseconds::rep>(1, left.count())));
    const long stallSeconds =
            std::max<long>(1, long(duration_cast<seconds>(timeouts.stall).count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer);
    // What a request without a body reports (sizes, dates) is not wanted.
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
}

struct Download
{
    QByteArray bytes;
    qint64 maxBytes = 0;
    bool tooLarge = false;
};

size_t collect(char *data, size_t size, size_t count, void *target)
{
    auto *download = static_cast<Download *>(target);
    const qint64 length = qint64(size * count);
    if (download->bytes.size() + length > download->maxBytes) {
        download->tooLarge = true;
        return 0;  // ends the transfer with a write error
    }
    download->bytes.append(data, length);
    return size * count;
}

// The common options for the request's own address: a listing asks for the
// folder's names alone (NLST), one a line.
void setRequestOptions(CurlHandle &handle, const TransferRequest &request, Transfer &transfer)
{
    const bool listing = request.kind == TransferRequest::Kind::List;
    setCommonOptions(handle, listing ? request.baseUrl : urlOf(request.baseUrl, request.remoteName),
                     request.timeouts, &transfer);
    if (listing)
        curl_easy_setopt(handle.curl, CURLOPT_DIRLISTONLY, 1L);
}

Outcome runGet(const TransferRequest &request, Transfer &transfer)
{
    Download download;
    download.maxBytes = request.maxBytes;
    CurlHandle handle;
    setRequestOptions(handle, request, transfer);
    // Read until the service ends the transfer: a size it announced in
    // advance may be wrong, and a short file must never pass for whole.
    curl_easy_setopt(handle.curl, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, &download);
    const CURLcode result = handle.perform();
    if (result == CURLE_OK) {
        if (!wholefile::write(request.localPath, download.bytes).isEmpty()) {
            QFile::remove(request.localPath);
            return Outcome::LocalFile;
        }
        return Outcome::Completed;
    }
    // Whatever ends the request without the whole file leaves no local one,
    // so no earlier copy passes for this one.
    QFile::remove(request.localPath);
    if (result == CURLE_REMOTE_FILE_NOT_FOUND) {
        // The service answered that there is no such file: the request is
        // done, and the local folder shows the same absence.
        return Outcome::Completed;
    }
    if (download.tooLarge)
        return Outcome::TooLarge;
    return failureOf(result, handle);
}

struct UploadSource
{
    const QByteArray *bytes;
    qsizetype offset = 0;
};

size_t readFromBytes(char *buffer, size_t size, size_t count, void *source)
{
    auto *upload = static_cast<UploadSource *>(source);
    const size_t chunk = std::min(size * count, size_t(upload->bytes->size() - upload->offset));
    memcpy(buffer, upload->bytes->constData() + upload->offset, chunk);
    upload->offset += qsizetype(chunk);
    return chunk;
}

curl_slist *appendCommand(curl_slist *list, const QByteArray &command)
{
    return curl_slist_append(list, command.constData());
}

// One FTP session: the commands of `commands` after storing `bytes` under
// `remoteName` (when `bytes` is given) or after the login alone.
CURLcode session(const TransferRequest &request, Transfer &transfer, const QString &remoteName,
                 const QByteArray *bytes, const QList<QByteArray> &commands,
                 Outcome *failure = nullptr)
{
    CurlHandle handle;
    UploadSource source { bytes };
    setCommonOptions(handle, bytes ? urlOf(request.baseUrl, remoteName) : request.baseUrl,
                     request.timeouts, &transfer);
    if (bytes) {
        curl_easy_setopt(handle.curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle.curl, CURLOPT_READFUNCTION, readFromBytes);
        curl_easy_setopt(handle.curl, CURLOPT_READDATA, &source);
        curl_easy_setopt(handle.curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(bytes->size()));
    } else {
        curl_easy_setopt(handle.curl, CURLOPT_NOBODY, 1L);
    }
    for (const QByteArray &command : commands)
        handle.commands = appendCommand(handle.commands, command);
    curl_easy_setopt(handle.curl, CURLOPT_POSTQUOTE, handle.commands);
    const CURLcode result = handle.perform();
    if (failure)
        *failure = failureOf(result, handle);
    return result;
}

enum class RemoteFile {
    Absent,
    Renamable,  // there, and the service lets it be renamed
    Fixed,  // there, and the service refuses to rename it
};

// Asks for the remote file's size, then whether it may be renamed: a rename
// begun and never finished changes nothing. A service that does not know
// SIZE leaves the answer "there", the careful one for a put.
std::optional<RemoteFile> remoteFile(const TransferRequest &request, Transfer &transfer,
                                     Outcome *failure)
{
    CurlHandle handle;
    setRequestOptions(handle, request, transfer);
    curl_easy_setopt(handle.curl, CURLOPT_NOBODY, 1L);
    handle.commands = appendCommand(handle.commands, "RNFR " + request.remoteName.toUtf8());
    curl_easy_setopt(handle.curl, CURLOPT_POSTQUOTE, handle.commands);
    switch (const CURLcode result = handle.perform()) {
    case CURLE_OK:
        return RemoteFile::Renamable;
    case CURLE_QUOTE_ERROR:
        return RemoteFile::Fixed;
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return RemoteFile::Absent;
    default:
        *failure = failureOf(result, handle);
        return std::nullopt;
    }
}

bool refusedStore(CURLcode result)
{
    return result == CURLE_UPLOAD_FAILED || result == CURLE_REMOTE_ACCESS_DENIED;
}

// Whether the remote name is a folder, which no service lets a file
// replace; asking for its size, as remoteFile() does, answers "absent".
bool remoteIsFolder(const TransferRequest &request, Transfer &transfer)
{
    return session(request, transfer, {}, nullptr, { "CWD " + request.remoteName.toUtf8() })
            == CURLE_OK;
}

QByteArray temporaryName(const TransferRequest &request)
{
    return TransferChannel::temporaryRemoteName(request.remoteName).toUtf8();
}

// Stores the data under its final name at once. A new name needs nothing
// more; over an earlier file it is the last resort, for services that do not
// rename. A refusal over an existing file means the service keeps what it
// has (write-once): the caller may choose another name, as when a folder
// holds the name.
//
// Under a new name the same session asks whether the service would rename
// the file, so that the next put knows it may replace in one session.
Outcome storeDirectly(const TransferRequest &request, Transfer &transfer, bool finalExists,
                      const QByteArray &temporary)
{
    const bool asksRename = !finalExists && temporary.isEmpty();
    QList<QByteArray> after;
    if (!temporary.isEmpty())
        after << "*DELE " + temporary;
    if (asksRename)
        after << "RNFR " + request.remoteName.toUtf8();
    Outcome failure = Outcome::Completed;
    const CURLcode stored =
            session(request, transfer, request.remoteName, &request.upload, after, &failure);
    // The commands after the data run only once it is stored.
    if (asksRename && (stored == CURLE_OK || stored == CURLE_QUOTE_ERROR)) {
        transfer.renamesAllowed = stored == CURLE_OK;
        return Outcome::Completed;
    }
    if (stored == CURLE_OK)
        return Outcome::Completed;
    if (!temporary.isEmpty())
        session(request, transfer, {}, nullptr, { "*DELE " + temporary });
    // A final name whose size the service told is a file; where it told
    // none, or a rename onto the name failed, a folder may be in the way.
    const bool mayBeFolder = !finalExists || !temporary.isEmpty();
    if (refusedStore(stored) && mayBeFolder && remoteIsFolder(request, transfer))
        return Outcome::FolderInTheWay;
    if (refusedStore(stored) && finalExists)
        return Outcome::ReplaceRefused;
    return failure;
}

// The data is there under the temporary name but the rename failed: some
// services refuse to rename onto an existing file. Removes the earlier file
// and renames again, without sending the data a second time.
Outcome renameOverAgain(const TransferRequest &request, Transfer &transfer)
{
    const QByteArray temporary = temporaryName(request);
    const QByteArray final = request.remoteName.toUtf8();
    const CURLcode renamed = session(request, transfer, {}, nullptr,
                                     { "*DELE " + final, "RNFR " + temporary, "RNTO " + final });
    // Where even this rename fails, the next put looks at the remote file first.
    transfer.renamesAllowed = renamed == CURLE_OK;
    if (renamed == CURLE_OK)
        return Outcome::Completed;
    return storeDirectly(request, transfer, true, temporary);
}

// The data travels under a temporary name and is renamed over the earlier
// file in the same session, so nobody reads a half-written one.
CURLcode storeAndRename(const TransferRequest &request, Transfer &transfer, Outcome *failure)
{
    const QByteArray temporary = temporaryName(request);
    return session(request, transfer, QString::fromUtf8(temporary), &request.upload,
                   { "RNFR " + temporary, "RNTO " + request.remoteName.toUtf8() }, failure);
}

Outcome runPut(const TransferRequest &request, Transfer &transfer)
{
    if (!request.localReadable)
        return Outcome::LocalFile;
    Outcome failure = Outcome::Completed;
    if (transfer.renamesAllowed) {
        // A service that has renamed before takes the record in one session;
        // only when that fails is the remote file looked at.
        const CURLcode stored = storeAndRename(request, transfer, &failure);
        if (stored == CURLE_OK)
            return Outcome::Completed;
        if (stored == CURLE_QUOTE_ERROR)
            return renameOverAgain(request, transfer);
        if (!refusedStore(stored))
            return failure;
        // The temporary name was refused; the remote file decides below.
    }
    const std::optional<RemoteFile> remote = remoteFile(request, transfer, &failure);
    if (!remote)
        return failure;
    if (remote != RemoteFile::Renamable) {
        if (remote == RemoteFile::Fixed)
            transfer.renamesAllowed = false;
        return storeDirectly(request, transfer, remote == RemoteFile::Fixed, {});
    }

    // Replacing an earlier file that may be renamed.
    transfer.renamesAllowed = true;
    const CURLcode stored = storeAndRename(request, transfer, &failure);
    if (stored == CURLE_OK)
        return Outcome::Completed;
    if (refusedStore(stored))
        return storeDirectly(request, transfer, true, {});
    if (stored != CURLE_QUOTE_ERROR)
        return failure;
    return renameOverAgain(request, transfer);
}

}  // namespace

TransferResult runTransferRequest(const TransferRequest &request, const std::atomic<bool> &abort)
{
    Transfer transfer;
    transfer.abort = &abort;
    transfer.deadline = std::chrono::steady_clock::now() + request.timeouts.total;
    transfer.renamesAllowed = request.renamesAllowed;
    Outcome outcome = request.invalidOutcome;
    switch (request.kind) {
    case TransferRequest::Kind::Get:
    case TransferRequest::Kind::List:
        outcome = runGet(request, transfer);
        break;
    case TransferRequest::Kind::Put:
        outcome = runPut(request, transfer);
        break;
    case TransferRequest::Kind::Invalid:
        if (!request.localPath.isEmpty())
            QFile::remove(request.localPath);  // as after any failed get
        break;
    }
    return { outcome, transfer.renamesAllowed };
}
