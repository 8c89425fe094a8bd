#include "transfer/transferchannel.h"

#include "transfer/serveraddress.h"
#include "wholefile.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>

struct TransferRequest
{
    enum class Kind { Get, Put, Invalid };
    Kind kind = Kind::Invalid;
    QByteArray baseUrl;  // "ftp://host[:port]/folder/"
    QString remoteName;  // final remote name
    QString localPath;  // get: where the file goes
    QByteArray upload;  // put: the bytes to send
    qint64 maxBytes = 0;  // get: the most bytes the local file may hold
    bool localReadable = true;
    TransferChannel::Failure invalidFailure = TransferChannel::Failure::Refused;
    TransferChannel::Timeouts timeouts;
};

namespace {

using Report = std::function<void(int code)>;

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

QByteArray urlOf(const QByteArray &baseUrl, const QString &remoteName)
{
    // Every reserved sign is escaped, so a name like "a;type=a" stays a name.
    return baseUrl + QUrl::toPercentEncoding(remoteName);
}

struct Transfer
{
    const std::atomic<bool> *abort = nullptr;
    Report report;
    bool connectedReported = false;
    // A request may take several FTP sessions; together they end by this time.
    std::chrono::steady_clock::time_point deadline;
};

// How one request ended: the state code and, for Error, why.
struct Outcome
{
    int code = TransferChannel::Completed;
    TransferChannel::Failure failure = TransferChannel::Failure::None;
};

Outcome completed()
{
    return {};
}

Outcome failed(TransferChannel::Failure failure)
{
    return { TransferChannel::Error, failure };
}

int onProgress(void *data, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer *>(data)->abort->load() ? 1 : 0;
}

int onConnected(void *data, char *, char *, int, int)
{
    auto *transfer = static_cast<Transfer *>(data);
    if (!transfer->connectedReported) {
        transfer->connectedReported = true;
        transfer->report(TransferChannel::Connected);
    }
    return CURL_PREREQFUNC_OK;
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

using Failure = TransferChannel::Failure;

Failure failureOf(CURLcode result, const CurlHandle &handle)
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return Failure::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return handle.connected() ? Failure::NoAnswer : Failure::CannotConnect;
    case CURLE_LOGIN_DENIED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return Failure::Refused;
    case CURLE_WRITE_ERROR:
    case CURLE_READ_ERROR:
        return Failure::LocalFile;
    default:
        // Dropped connections, cut transfers, replies that make no sense.
        return Failure::NoAnswer;
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
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, transfer);
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

Outcome runGet(const TransferRequest &request, Transfer &transfer)
{
    Download download;
    download.maxBytes = request.maxBytes;
    CurlHandle handle;
    setCommonOptions(handle, urlOf(request.baseUrl, request.remoteName), request.timeouts,
                     &transfer);
    // Read until the service ends the transfer: a size it announced in
    // advance may be wrong, and a short file must never pass for whole.
    curl_easy_setopt(handle.curl, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, &download);
    const CURLcode result = handle.perform();
    if (result == CURLE_OK) {
        if (!wholefile::write(request.localPath, download.bytes).isEmpty()) {
            QFile::remove(request.localPath);
            return failed(Failure::LocalFile);
        }
        return completed();
    }
    // Whatever ends the request without the whole file leaves no local one,
    // so no earlier copy passes for this one.
    QFile::remove(request.localPath);
    if (result == CURLE_REMOTE_FILE_NOT_FOUND) {
        // The service answered that there is no such file: the request is
        // done, and the local folder shows the same absence.
        return completed();
    }
    if (download.tooLarge)
        return failed(Failure::TooLarge);
    return failed(failureOf(result, handle));
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
                 Failure *failure = nullptr)
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
                                     Failure *failure)
{
    CurlHandle handle;
    setCommonOptions(handle, urlOf(request.baseUrl, request.remoteName), request.timeouts,
                     &transfer);
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

// Stores the data under its final name at once. A new name needs nothing
// more; over an earlier file it is the last resort, for services that do not
// rename. A refusal over an existing file means the service keeps what it
// has (write-once): the caller may choose another name.
Outcome storeDirectly(const TransferRequest &request, Transfer &transfer, bool finalExists,
                      const QByteArray &temporary)
{
    const QList<QByteArray> cleanUp =
            temporary.isEmpty() ? QList<QByteArray> {} : QList<QByteArray> { "*DELE " + temporary };
    Failure failure = Failure::None;
    const CURLcode stored =
            session(request, transfer, request.remoteName, &request.upload, cleanUp, &failure);
    if (stored == CURLE_OK)
        return completed();
    if (!temporary.isEmpty())
        session(request, transfer, {}, nullptr, cleanUp);
    if (refusedStore(stored) && finalExists)
        return failed(Failure::ReplaceRefused);
    return failed(failure);
}

Outcome runPut(const TransferRequest &request, Transfer &transfer)
{
    if (!request.localReadable)
        return failed(Failure::LocalFile);
    Failure failure = Failure::None;
    const std::optional<RemoteFile> remote = remoteFile(request, transfer, &failure);
    if (!remote)
        return failed(failure);
    if (remote != RemoteFile::Renamable)
        return storeDirectly(request, transfer, remote == RemoteFile::Fixed, {});

    // Replacing an earlier file: the data travels under a temporary name and
    // is renamed over the earlier file, so nobody reads a half-written one.
    const QByteArray temporary = TransferChannel::temporaryRemoteName(request.remoteName).toUtf8();
    const QByteArray final = request.remoteName.toUtf8();
    const CURLcode stored =
            session(request, transfer, QString::fromUtf8(temporary), &request.upload,
                    { "RNFR " + temporary, "RNTO " + final }, &failure);
    if (stored == CURLE_OK)
        return completed();
    if (refusedStore(stored))
        return storeDirectly(request, transfer, true, {});
    if (stored != CURLE_QUOTE_ERROR)
        return failed(failure);

    // The data is there under the temporary name but the rename failed: some
    // services refuse to rename onto an existing file. Remove the earlier
    // file and rename again, without sending the data a second time.
    const CURLcode renamed = session(request, transfer, {}, nullptr,
                                     { "*DELE " + final, "RNFR " + temporary, "RNTO " + final });
    if (renamed == CURLE_OK)
        return completed();
    return storeDirectly(request, transfer, true, temporary);
}

Outcome run(const TransferRequest &request, Transfer &transfer)
{
    transfer.report(TransferChannel::Connecting);
    switch (request.kind) {
    case TransferRequest::Kind::Get:
        return runGet(request, transfer);
    case TransferRequest::Kind::Put:
        return runPut(request, transfer);
    case TransferRequest::Kind::Invalid:
        break;
    }
    if (!request.localPath.isEmpty())
        QFile::remove(request.localPath);  // as after any failed get
    return failed(request.invalidFailure);
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

bool TransferChannel::execute(const QString &command)
{
    const qsizetype firstBlank = command.indexOf(u' ');
    const qsizetype secondBlank = firstBlank < 0 ? -1 : command.indexOf(u' ', firstBlank + 1);
    if (secondBlank < 0)
        return start(TransferRequest {});
    const QString verb = command.left(firstBlank);
    const QString first = command.mid(firstBlank + 1, secondBlank - firstBlank - 1);
    const QString last = command.mid(secondBlank + 1);
    if (verb == QLatin1String("get"))
        return get(first, last);
    if (verb == QLatin1String("put"))
        return put(first, last);
    return start(TransferRequest {});
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

bool TransferChannel::put(const QString &localName, const QString &remoteName)
{
    if (isBusy())
        return false;
    TransferRequest request;
    request.kind = TransferRequest::Kind::Put;
    request.remoteName = remoteName;
    QFile local(QDir(m_folder).filePath(localName));
    request.localReadable = local.open(QIODevice::ReadOnly);
    if (request.localReadable) {
        request.upload = local.readAll();
        request.localReadable = local.error() == QFileDevice::NoError;
    }
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
        request.invalidFailure = Failure::CannotConnect;
    } else if (!isBareRemoteName(request.remoteName)) {
        request.kind = TransferRequest::Kind::Invalid;
    }
    request.timeouts = m_timeouts;
    m_abort = false;

    // Reports travel to this object's thread as queued calls; the destructor
    // waits for the worker, so they never reach a deleted channel.
    m_thread = QThread::create([this, request = std::move(request)] {
        Transfer transfer;
        transfer.abort = &m_abort;
        transfer.deadline = std::chrono::steady_clock::now() + request.timeouts.total;
        transfer.report = [this](int code) {
            QMetaObject::invokeMethod(
                    this, [this, code] { emit stateChanged(code); }, Qt::QueuedConnection);
        };
        const Outcome outcome = run(request, transfer);
        QMetaObject::invokeMethod(
                this, [this, outcome] { finish(outcome.code, outcome.failure); },
                Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void TransferChannel::finish(int code, Failure failure)
{
    // The worker has posted its last word; it is leaving its function now.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_lastFailure = failure;
    // Not busy any more, so a receiver may issue the next request at once.
    emit stateChanged(code);
}
