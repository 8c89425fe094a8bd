// The transfer channel against a real FTP service: what arrives, what the
// channel reports, and what a reader of either folder can see meanwhile.
#include "ftpservice.h"
#include "testfiles.h"
#include "transferchannel.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMillis = 20000;

QList<int> finalCodes(const QSignalSpy &spy)
{
    QList<int> codes;
    for (const QList<QVariant> &report : spy) {
        const int code = report.at(0).toInt();
        if (code == TransferChannel::Completed || code == TransferChannel::Error)
            codes << code;
    }
    return codes;
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();  // closed again when probe goes
}

}  // namespace

class TestTransferChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void filesTravelByteForByte_data();
    void filesTravelByteForByte();
    void missingRemoteFileCompletesWithoutLocalFile();
    void failuresEndInErrorWithinBoundedTime_data();
    void failuresEndInErrorWithinBoundedTime();
    void uploadIsNeverVisibleHalfWritten();
    void failedRenameIsAnError();
    void requestWhileBusyIsRefused();
    void destroyingChannelAbortsRunningTransfer();

private:
    QString local(const QString &name) const { return m_work->filePath(name); }
    QString remote(const QString &name) const { return QDir(m_service->folder()).filePath(name); }

    std::unique_ptr<FtpService> m_service;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<TransferChannel> m_channel;
};

void TestTransferChannel::init()
{
    m_service = std::make_unique<FtpService>();
    QVERIFY(m_service->start());
    m_work = std::make_unique<QTemporaryDir>();
    m_channel = std::make_unique<TransferChannel>();
    m_channel->setWorkingFolder(m_work->path());
    m_channel->setRemoteHost(m_service->address());
}

void TestTransferChannel::cleanup()
{
    m_channel.reset();
    m_service.reset();
    m_work.reset();
}

void TestTransferChannel::filesTravelByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("remoteName");
    QTest::addColumn<bool>("renameOverRefused");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("empty.zip") << false;
    QTest::newRow("every byte value") << everyByte(256 * 3) << QStringLiteral("sc.zip") << false;
    QTest::newRow("large text") << everyByte(300 * 1024) << QStringLiteral("te.txt") << false;
    QTest::newRow("blanks and Chinese in the name")
        << everyByte(100) << QStringLiteral(" 计算机 系-01-张 三 .zip") << false;
    QTest::newRow("URL signs in the name")
        << everyByte(100) << QStringLiteral("a%20b#c?d;type=a.zip") << false;
    // The earlier file is removed first, then the rename is repeated.
    QTest::newRow("service that will not rename over a file")
        << everyByte(1000) << QStringLiteral("系-01-名.zip") << true;
}

void TestTransferChannel::filesTravelByteForByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, remoteName);
    QFETCH(bool, renameOverRefused);
    if (renameOverRefused) {
        m_service->stop();
        m_service->setRenameOverExistingRefused(true);
        QVERIFY(m_service->start());
    }
    QVERIFY(writeFile(local(QStringLiteral("out.bin")), bytes));
    QVERIFY(writeFile(remote(remoteName), "an earlier file of that name"));

    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->execute(QStringLiteral("put out.bin ") + remoteName));
    QTRY_COMPARE_WITH_TIMEOUT(finalCodes(spy), QList<int>{TransferChannel::Completed}, kWaitMillis);
    QCOMPARE(readFile(remote(remoteName)), bytes);
    QCOMPARE(filesIn(m_service->folder()), QStringList{remoteName});

    spy.clear();
    QVERIFY(m_channel->get(remoteName, QStringLiteral("back.bin")));
    QTRY_COMPARE_WITH_TIMEOUT(finalCodes(spy), QList<int>{TransferChannel::Completed}, kWaitMillis);
    QVERIFY(QFile::exists(local(QStringLiteral("back.bin"))));
    QCOMPARE(readFile(local(QStringLiteral("back.bin"))), bytes);
    // Progress came first, the final code last.
    QVERIFY(spy.size() > 1);
    QCOMPARE(spy.first().at(0).toInt(), int(TransferChannel::Connecting));
}

void TestTransferChannel::missingRemoteFileCompletesWithoutLocalFile()
{
    // A copy from an earlier run must not pass for the missing file.
    QVERIFY(writeFile(local(QStringLiteral("se.dll")), "old settings"));
    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->execute(QStringLiteral("get se.dll se.dll")));
    QTRY_COMPARE_WITH_TIMEOUT(finalCodes(spy), QList<int>{TransferChannel::Completed}, kWaitMillis);
    QVERIFY(!QFile::exists(local(QStringLiteral("se.dll"))));
    QCOMPARE(filesIn(m_work->path()), QStringList());
}

void TestTransferChannel::failuresEndInErrorWithinBoundedTime_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("command");
    const QString fine = QStringLiteral("get te.txt te.txt");
    const QString service = QStringLiteral("service");
    QTest::newRow("closed port") << QStringLiteral("127.0.0.1:%1").arg(closedPort()) << fine;
    QTest::newRow("unknown host") << QStringLiteral("no-such-host.invalid") << fine;
    QTest::newRow("unreachable address") << QStringLiteral("10.255.255.1") << fine;
    QTest::newRow("empty host") << QString() << fine;
    QTest::newRow("host with a path") << QStringLiteral("127.0.0.1/x") << fine;
    QTest::newRow("unknown command") << service << QStringLiteral("fetch te.txt te.txt");
    QTest::newRow("one name only") << service << QStringLiteral("get te.txt");
    QTest::newRow("remote name in a folder") << service << QStringLiteral("get ../te.txt te.txt");
    QTest::newRow("second FTP command in a name")
        << service << QStringLiteral("put sc1.zip x.zip\r\nDELE te.txt");
    QTest::newRow("missing local file") << service << QStringLiteral("put nothing.zip x.zip");
}

void TestTransferChannel::failuresEndInErrorWithinBoundedTime()
{
    QFETCH(QString, host);
    QFETCH(QString, command);
    QVERIFY(writeFile(remote(QStringLiteral("te.txt")), "text"));
    // Rows on the running service fail for their command, not the host.
    m_channel->setRemoteHost(host == QLatin1String("service") ? m_service->address() : host);
    TransferChannel::Timeouts timeouts;
    timeouts.connect = 1500ms;
    m_channel->setTimeouts(timeouts);

    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(m_channel->execute(command));
    QTRY_COMPARE_WITH_TIMEOUT(finalCodes(spy), QList<int>{TransferChannel::Error}, 8000);
    QVERIFY2(elapsed.elapsed() < 8000, "the error must come within seconds");
    QVERIFY(!m_channel->isBusy());
    QCOMPARE(filesIn(m_service->folder()), QStringList{QStringLiteral("te.txt")});
    QVERIFY(!QFile::exists(local(QStringLiteral("te.txt"))));
}

void TestTransferChannel::uploadIsNeverVisibleHalfWritten()
{
    m_service->stop();
    // The slowed service takes two thirds of the data at once and the rest
    // two seconds later: long enough to look at a half-written upload.
    QVERIFY(m_service->start(32 * 1024));
    const QByteArray earlier = "the zero record";
    const QByteArray record = everyByte(96 * 1024);
    const QString name = QStringLiteral("部门-01-名字.zip");
    QVERIFY(writeFile(remote(name), earlier));
    QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), record));

    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), name));
    bool sawTemporary = false;
    QStringList problems;
    // What a collector listing the folder during the upload would see.
    const auto watch = [&] {
        const QStringList files = filesIn(m_service->folder());
        for (const QString &file : files) {
            if (file == name) {
                const QByteArray seen = readFile(remote(name));
                if (seen != earlier && seen != record)
                    problems << QStringLiteral("a partial file under the final name");
            } else if (file.endsWith(QLatin1String(".zip"))) {
                problems << QStringLiteral("a collector would take ") + file;
            } else {
                sawTemporary = true;
            }
        }
        return !m_channel->isBusy();
    };
    QTRY_VERIFY_WITH_TIMEOUT(watch(), kWaitMillis);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    QVERIFY2(sawTemporary, "the data should travel under its temporary name");
    QCOMPARE(finalCodes(spy), QList<int>{TransferChannel::Completed});
    QCOMPARE(filesIn(m_service->folder()), QStringList{name});
    QCOMPARE(readFile(remote(name)), record);
}

void TestTransferChannel::failedRenameIsAnError()
{
    // A folder in the way makes every rename onto that name fail.
    QVERIFY(QDir(m_service->folder()).mkpath(QStringLiteral("x.zip/inside")));
    QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), "record"));
    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), QStringLiteral("x.zip")));
    QTRY_COMPARE_WITH_TIMEOUT(finalCodes(spy), QList<int>{TransferChannel::Error}, kWaitMillis);
    QVERIFY(QFileInfo(remote(QStringLiteral("x.zip"))).isDir());
}

void TestTransferChannel::requestWhileBusyIsRefused()
{
    m_service->stop();
    QVERIFY(m_service->start(40 * 1024));
    const QByteArray text = everyByte(40 * 1024);
    QVERIFY(writeFile(remote(QStringLiteral("te.txt")), text));
    QVERIFY(writeFile(remote(QStringLiteral("se.dll")), "settings"));

    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->execute(QStringLiteral("get te.txt te.txt")));
    QVERIFY(!m_channel->execute(QStringLiteral("get se.dll se.dll")));
    QVERIFY(!m_channel->put(QStringLiteral("te.txt"), QStringLiteral("x.zip")));
    QTRY_VERIFY_WITH_TIMEOUT(!finalCodes(spy).isEmpty(), kWaitMillis);
    QCOMPARE(finalCodes(spy), QList<int>{TransferChannel::Completed});
    QCOMPARE(readFile(local(QStringLiteral("te.txt"))), text);
    QCOMPARE(filesIn(m_work->path()), QStringList{QStringLiteral("te.txt")});
    QCOMPARE(filesIn(m_service->folder()), (QStringList{QStringLiteral("se.dll"), QStringLiteral("te.txt")}));
}

void TestTransferChannel::destroyingChannelAbortsRunningTransfer()
{
    m_service->stop();
    QVERIFY(m_service->start(4 * 1024));
    QVERIFY(writeFile(remote(QStringLiteral("te.txt")), everyByte(400 * 1024)));
    QSignalSpy spy(m_channel.get(), &TransferChannel::stateChanged);
    QVERIFY(m_channel->get(QStringLiteral("te.txt"), QStringLiteral("te.txt")));
    QTRY_VERIFY_WITH_TIMEOUT(spy.contains(QVariantList{int(TransferChannel::Connected)}), kWaitMillis);

    QElapsedTimer elapsed;
    elapsed.start();
    m_channel.reset();
    QVERIFY2(elapsed.elapsed() < 3000, "closing must not wait for the transfer");
    QCoreApplication::processEvents();
    // An aborted download leaves nothing behind.
    QCOMPARE(filesIn(m_work->path()), QStringList());
}

QTEST_GUILESS_MAIN(TestTransferChannel)
#include "tst_transferchannel.moc"
