#include "transferchannel.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>

struct TransferRequest
{
    enum class Kind { Get, Put, Invalid };
    Kind kind = Kind::Invalid;
    QByteArray baseUrl;     // "ftp://host[:port]/"
    QString remoteName;     // final remote name
    QString localPath;      // get: where the file goes
    QByteArray upload;      // put: the bytes to send
    bool localReadable = true;
    TransferChannel::Timeouts timeouts;
};

namespace {

using Report = std::function<void(int code)>;

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The host part of an FTP URL, or empty when the typed address cannot be one
// (blanks, a path, credentials...).
QByteArray authorityOf(const QString &host)
{
    if (host.isEmpty())
        return {};
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setAuthority(host, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return {};
    return url.toEncoded(QUrl::RemoveScheme | QUrl::RemovePath | QUrl::RemoveQuery
                         | QUrl::RemoveFragment).mid(2);  // drop the leading "//"
}

// Remote names are bare file names in the service's home folder. Anything
// that would reach another folder or smuggle a second FTP command is refused.
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
};

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
};

void setCommonOptions(CurlHandle &handle, const QByteArray &url,
                      const TransferChannel::Timeouts &timeouts, Transfer *transfer)
{
    using std::chrono::seconds;
    using std::chrono::duration_cast;
    CURL *curl = handle.curl;
    // Names travel as UTF-8; some services expect to be told so. Those that
    // do not know the command may refuse it ("*").
    handle.before = curl_slist_append(handle.before, "*OPTS UTF8 ON");
    curl_easy_setopt(curl, CURLOPT_QUOTE, handle.before);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(timeouts.total.count()));
    const long stallSeconds = std::max<long>(1, long(duration_cast<seconds>(timeouts.stall).count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, transfer);
}

size_t writeToFile(char *data, size_t size, size_t count, void *file)
{
    const qint64 length = qint64(size * count);
    return static_cast<QSaveFile *>(file)->write(data, length) == length ? size * count : 0;
}

int runGet(const TransferRequest &request, Transfer &transfer)
{
    QSaveFile local(request.localPath);
    if (!local.open(QIODevice::WriteOnly))
        return TransferChannel::Error;
    CurlHandle handle;
    setCommonOptions(handle, urlOf(request.baseUrl, request.remoteName), request.timeouts, &transfer);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, writeToFile);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, &local);
    const CURLcode result = curl_easy_perform(handle.curl);
    if (result == CURLE_OK)
        return local.commit() ? TransferChannel::Completed : TransferChannel::Error;
    local.cancelWriting();
    if (result == CURLE_REMOTE_FILE_NOT_FOUND) {
        // The service answered that there is no such file: the request is
        // done, and the local folder shows the same absence.
        QFile::remove(request.localPath);
        return TransferChannel::Completed;
    }
    return TransferChannel::Error;
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

int runPut(const TransferRequest &request, Transfer &transfer)
{
    if (!request.localReadable)
        return TransferChannel::Error;
    const QByteArray temporary = TransferChannel::temporaryRemoteName(request.remoteName).toUtf8();
    const QByteArray final = request.remoteName.toUtf8();

    CurlHandle store;
    UploadSource source{&request.upload};
    setCommonOptions(store, urlOf(request.baseUrl, QString::fromUtf8(temporary)), request.timeouts,
                     &transfer);
    curl_easy_setopt(store.curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(store.curl, CURLOPT_READFUNCTION, readFromBytes);
    curl_easy_setopt(store.curl, CURLOPT_READDATA, &source);
    curl_easy_setopt(store.curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(request.upload.size()));
    store.commands = appendCommand(store.commands, "RNFR " + temporary);
    store.commands = appendCommand(store.commands, "RNTO " + final);
    curl_easy_setopt(store.curl, CURLOPT_POSTQUOTE, store.commands);
    const CURLcode stored = curl_easy_perform(store.curl);
    if (stored == CURLE_OK)
        return TransferChannel::Completed;
    if (stored != CURLE_QUOTE_ERROR)
        return TransferChannel::Error;

    // The data is there under the temporary name but the rename failed: some
    // services refuse to rename onto an existing file. Remove the earlier
    // file (it may be absent, hence "*": its failure is accepted) and rename
    // again, without sending the data a second time.
    CurlHandle rename;
    setCommonOptions(rename, request.baseUrl, request.timeouts, &transfer);
    curl_easy_setopt(rename.curl, CURLOPT_NOBODY, 1L);
    rename.commands = appendCommand(rename.commands, "*DELE " + final);
    rename.commands = appendCommand(rename.commands, "RNFR " + temporary);
    rename.commands = appendCommand(rename.commands, "RNTO " + final);
    curl_easy_setopt(rename.curl, CURLOPT_POSTQUOTE, rename.commands);
    return curl_easy_perform(rename.curl) == CURLE_OK ? TransferChannel::Completed
                                                      : TransferChannel::Error;
}

int run(const TransferRequest &request, Transfer &transfer)
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
    return TransferChannel::Error;
}

}  // namespace

TransferChannel::TransferChannel(QObject *parent)
    : QObject(parent), m_folder(QDir::currentPath())
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
        return start(TransferRequest{});
    const QString verb = command.left(firstBlank);
    const QString first = command.mid(firstBlank + 1, secondBlank - firstBlank - 1);
    const QString last = command.mid(secondBlank + 1);
    if (verb == QLatin1String("get"))
        return get(first, last);
    if (verb == QLatin1String("put"))
        return put(first, last);
    return start(TransferRequest{});
}

bool TransferChannel::get(const QString &remoteName, const QString &localName)
{
    TransferRequest request;
    request.kind = TransferRequest::Kind::Get;
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
    const QByteArray authority = authorityOf(m_host);
    request.baseUrl = "ftp://" + authority + '/';
    if (authority.isEmpty() || !isBareRemoteName(request.remoteName))
        request.kind = TransferRequest::Kind::Invalid;
    request.timeouts = m_timeouts;
    m_abort = false;

    // Reports travel to this object's thread as queued calls; the destructor
    // waits for the worker, so they never reach a deleted channel.
    m_thread = QThread::create([this, request = std::move(request)] {
        Transfer transfer;
        transfer.abort = &m_abort;
        transfer.report = [this](int code) {
            QMetaObject::invokeMethod(this, [this, code] { emit stateChanged(code); },
                                      Qt::QueuedConnection);
        };
        const int code = run(request, transfer);
        QMetaObject::invokeMethod(this, [this, code] { finish(code); }, Qt::QueuedConnection);
    });
    m_thread->start();
    return true;
}

void TransferChannel::finish(int code)
{
    // The worker has posted its last word; it is leaving its function now.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_lastFailure = code == Completed ? Failure::None : Failure::Refused;
    // Not busy any more, so a receiver may issue the next request at once.
    emit stateChanged(code);
}
