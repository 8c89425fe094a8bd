// The loopback FTP service that every transfer test stands on: a real get,
// put and rename, and a restart on the same port.
#include "ftpservice.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

size_t collect(char *data, size_t size, size_t count, void *sink)
{
    static_cast<QByteArray *>(sink)->append(data, qsizetype(size * count));
    return size * count;
}

struct Upload
{
    QByteArray bytes;
    qsizetype offset = 0;
};

size_t feed(char *buffer, size_t size, size_t count, void *source)
{
    auto *upload = static_cast<Upload *>(source);
    const size_t chunk = std::min(size * count, size_t(upload->bytes.size() - upload->offset));
    memcpy(buffer, upload->bytes.constData() + upload->offset, chunk);
    upload->offset += qsizetype(chunk);
    return chunk;
}

CURLcode get(const QString &url, QByteArray *body)
{
    CURL *curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, body);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return code;
}

CURLcode put(const QString &url, const QByteArray &bytes, const char *renameTo = nullptr)
{
    CURL *curl = curl_easy_init();
    Upload upload{bytes};
    curl_slist *after = nullptr;
    if (renameTo) {
        const QByteArray from = "RNFR " + QUrl(url).fileName().toUtf8();
        const QByteArray to = QByteArray("RNTO ") + renameTo;
        after = curl_slist_append(after, from.constData());
        after = curl_slist_append(after, to.constData());
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, feed);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(bytes.size()));
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, after);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(after);
    curl_easy_cleanup(curl);
    return code;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestFtpService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    void getAndPutThroughRealService();
    void restartsOnSamePortWithSameFolder();
};

void TestFtpService::getAndPutThroughRealService()
{
    FtpService service;
    QVERIFY(service.start());
    const QString base = QStringLiteral("ftp://") + service.address() + QLatin1Char('/');

    QByteArray published(300, '\0');
    for (int i = 0; i < published.size(); ++i)
        published[i] = char(i);  // every byte value survives
    QFile te(QDir(service.folder()).filePath(QStringLiteral("te.txt")));
    QVERIFY(te.open(QIODevice::WriteOnly));
    te.write(published);
    te.close();

    QByteArray fetched;
    QCOMPARE(get(base + QStringLiteral("te.txt"), &fetched), CURLE_OK);
    QCOMPARE(fetched, published);

    const QByteArray record("\x9d\xa9\xad\x90", 4);
    QCOMPARE(put(base + QStringLiteral("upload.part"), record, "a-b-c.zip"), CURLE_OK);
    QCOMPARE(readFile(QDir(service.folder()).filePath(QStringLiteral("a-b-c.zip"))), record);
    QVERIFY(!QFile::exists(QDir(service.folder()).filePath(QStringLiteral("upload.part"))));

    QByteArray nothing;
    QVERIFY(get(base + QStringLiteral("missing.txt"), &nothing) != CURLE_OK);
}

void TestFtpService::restartsOnSamePortWithSameFolder()
{
    FtpService service;
    QVERIFY(service.start());
    const quint16 port = service.port();
    service.kill();
    QVERIFY(!service.isRunning());
    QByteArray body;
    QVERIFY(get(QStringLiteral("ftp://") + service.address() + QStringLiteral("/x"), &body) != CURLE_OK);
    QVERIFY(service.start());
    QCOMPARE(service.port(), port);
}

QTEST_GUILESS_MAIN(TestFtpService)
#include "tst_ftpservice.moc"
