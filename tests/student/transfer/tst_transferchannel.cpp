// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer channel and the result upload against a real FTP service:
// what the channel reports, what arrives under which name, and what a reader
// of the exchange folder can see meanwhile.
#include "ftpservice.h"
#include "transfer/resultupload.h"
#include "transfer/serveraddress.h"
#include "testfiles.h"
#include "testrecords.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMillis = 20000;

using Outcome = TransferChannel::Outcome;

QList<Outcome> outcomes(const QSignalSpy &spy)
{
    QList<Outcome> reported;
    for (const QList<QVariant> &report : spy)
        reported << report.at(0).value<Outcome>();
    return reported;
}

enum class Rules { Full, NoRenameOver, NoRename, WriteOnce };

void applyRules(FtpService &service, Rules rules)
{
    service.setRenameOverExistingRefused(rules == Rules::NoRenameOver);
    service.setRenameRefused(rules == Rules::NoRename);
    service.setWriteOnce(rules == Rules::WriteOnce);
}

ResultRecord recordFor(const Examinee &examinee, float speed = 45)
{
    return ResultRecord {
        speed,         90,          60, 502, 50, examinee.department, examinee.examNumber,
        examinee.name, std::nullopt
    };
}

}  // namespace

Q_DECLARE_METATYPE(Rules)

class TestTransferChannel : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;  // holds the exchange folder and nothing else
    const QString m_exchange = m_root.filePath(QStringLiteral("typedata"));
    QTemporaryDir m_work;
    std::unique_ptr<FtpService> m_service;
    std::unique_ptr<TransferChannel> m_channel;

    QString local(const QString &name) const { return m_work.filePath(name); }
    QString remote(const QString &name) const { return QDir(m_exchange).filePath(name); }
    bool restartService(int bytesPerSecond)
    {
        m_service->stop();
        return m_service->start(bytesPerSecond);
    }

private slots:
    void init()
    {
        QVERIFY(QDir(m_exchange).removeRecursively() && QDir().mkpath(m_exchange));
        for (const QString &name : filesIn(m_work.path()))
            QVERIFY(QFile::remove(local(name)));
        m_service = std::make_unique<FtpService>(m_exchange);
        QVERIFY(m_service->start());
        m_channel = std::make_unique<TransferChannel>();
        m_channel->setWorkingFolder(m_work.path());
        m_channel->setRemoteHost(m_service->address());
    }
    void cleanup()
    {
        m_channel.reset();
        m_service.reset();
    }

    void failuresEndInErrorWithinBoundedTime_data()
    {
        QTest::addColumn<QString>("host");  // empty: the running service
        QTest::addColumn<bool>("get");  // a get of `from` into `to`, else a put
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);  // closed again when this function returns
        QTest::addColumn<Outcome>("outcome");
        const QString teTxt = QStringLiteral("te.txt");
        QTest::newRow("closed port") << QStringLiteral("127.0.0.1:%1").arg(probe.serverPort())
                                     << true << teTxt << teTxt << Outcome::CannotConnect;
        QTest::newRow("not an address")
                << QStringLiteral("http://x") << true << teTxt << teTxt << Outcome::CannotConnect;
        QTest::newRow("remote name in a folder")
                << QString() << true << QStringLiteral("../te.txt") << teTxt << Outcome::Refused;
        QTest::newRow("second FTP command in a name")
                << QString() << false << QStringLiteral("sc1.zip")
                << QStringLiteral("x.zip\r\nDELE te.txt") << Outcome::Refused;
        QTest::newRow("missing local file") << QString() << false << QStringLiteral("nothing.zip")
                                            << QStringLiteral("x.zip") << Outcome::LocalFile;
        QTest::newRow("bigger than the bound")
                << QString() << true << QStringLiteral("big.txt") << teTxt << Outcome::TooLarge;
    }
    void failuresEndInErrorWithinBoundedTime()
    {
        QFETCH(QString, host);
        QFETCH(bool, get);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QVERIFY(writeFile(remote(QStringLiteral("te.txt")), "text"));
        QVERIFY(writeFile(local(QStringLiteral("te.txt")), "an earlier copy"));
        QVERIFY(writeFile(remote(QStringLiteral("big.txt")),
                          QByteArray(TransferChannel::kDefaultMaxBytes + 1, 'x')));
        if (!host.isEmpty())
            m_channel->setRemoteHost(host);
        TransferChannel::Timeouts timeouts;
        timeouts.connect = 1500ms;
        m_channel->setTimeouts(timeouts);
        QSignalSpy spy(m_channel.get(), &TransferChannel::finished);
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(get ? m_channel->get(from, to) : m_channel->put(from, to));
        QFETCH(Outcome, outcome);
        QTRY_COMPARE_WITH_TIMEOUT(outcomes(spy), QList<Outcome> { outcome }, 8000);
        QVERIFY2(elapsed.elapsed() < 8000, "the error must come within seconds");
        QVERIFY(!m_channel->isBusy());
        QCOMPARE(filesIn(m_exchange),
                 (QStringList { QStringLiteral("big.txt"), QStringLiteral("te.txt") }));
        // A failed get leaves no local file, not even an earlier one.
        QCOMPARE(QFile::exists(local(QStringLiteral("te.txt"))), !get);
    }

    void uploadIsNeverVisibleHalfWritten()
    {
        // The slowed service takes two thirds of the data at once and the rest
        // two seconds later: long enough to look at a half-written upload.
        QVERIFY(restartService(32 * 1024));
        const QByteArray earlier = "the zero record", record = everyByte(96 * 1024);
        const QString name = QStringLiteral("部门-01-名字.zip");
        QVERIFY(writeFile(remote(name), earlier));
        QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), record));
        QSignalSpy spy(m_channel.get(), &TransferChannel::finished);
        QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), name));
        bool sawTemporary = false;
        QStringList problems;
        // What a collector listing the folder during the upload would see.
        const auto watch = [&] {
            for (const QString &file : filesIn(m_exchange)) {
                if (file == name) {
                    if (const QByteArray seen = readFile(remote(name));
                        seen != earlier && seen != record)
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
        QCOMPARE(outcomes(spy), QList<Outcome> { Outcome::Completed });  // one report, at the end
        QCOMPARE(filesIn(m_exchange), QStringList { name });
        QCOMPARE(readFile(remote(name)), record);
    }

    void putOnServicesWithFewerRights_data()
    {
        QTest::addColumn<Rules>("rules");
        QTest::addColumn<bool>("earlier");  // an earlier file of that name is there
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QStringList>("files");
        const QString name = QStringLiteral("系-01-名.zip");
        const Outcome done = Outcome::Completed;
        QTest::newRow("full rights, new") << Rules::Full << false << done << QStringList { name };
        QTest::newRow("full rights, replace")
                << Rules::Full << true << done << QStringList { name };
        QTest::newRow("no rename over a file")
                << Rules::NoRenameOver << true << done << QStringList { name };
        QTest::newRow("no rename, new") << Rules::NoRename << false << done << QStringList { name };
        QTest::newRow("no rename, replace")
                << Rules::NoRename << true << done << QStringList { name };
        QTest::newRow("write-once, new")
                << Rules::WriteOnce << false << done << QStringList { name };
        QTest::newRow("write-once, replace")
                << Rules::WriteOnce << true << Outcome::ReplaceRefused << QStringList { name };
    }
    void putOnServicesWithFewerRights()
    {
        QFETCH(Rules, rules);
        QFETCH(bool, earlier);
        QFETCH(Outcome, outcome);
        QFETCH(QStringList, files);
        applyRules(*m_service, rules);
        QVERIFY(restartService(0));
        const QString name = QStringLiteral("系-01-名.zip");
        const QByteArray before = "zero record\r\n", record = everyByte(3000);
        QVERIFY(!earlier || writeFile(remote(name), before));
        QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), record));
        QSignalSpy spy(m_channel.get(), &TransferChannel::finished);
        QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), name));
        QTRY_COMPARE_WITH_TIMEOUT(outcomes(spy), QList<Outcome> { outcome }, kWaitMillis);
        QCOMPARE(filesIn(m_exchange), files);
        QCOMPARE(readFile(remote(name)), outcome == Outcome::Completed ? record : before);
    }

    void sessionsPerPut_data()
    {
        QTest::addColumn<Rules>("rules");
        // FTP sessions of the put under a new name, then of two replaces.
        QTest::addColumn<QList<int>>("sessions");
        QTest::newRow("full rights") << Rules::Full << QList<int> { 2, 1, 1 };
        QTest::newRow("no rename over a file") << Rules::NoRenameOver << QList<int> { 2, 2, 2 };
        QTest::newRow("no rename") << Rules::NoRename << QList<int> { 2, 2, 2 };
        QTest::newRow("write-once") << Rules::WriteOnce << QList<int> { 2, 2, 2 };
    }
    void sessionsPerPut()
    {
        QFETCH(Rules, rules);
        applyRules(*m_service, rules);
        QVERIFY(restartService(0));
        if (m_service->logins() < 0)
            QSKIP("sessions are not counted here");
        const QString name = QStringLiteral("系-01-名.zip");
        QList<int> sessions;
        for (int put = 0; put < 3; ++put) {
            const QByteArray record = "record " + QByteArray::number(put);
            QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), record));
            const int before = m_service->logins();
            QSignalSpy spy(m_channel.get(), &TransferChannel::finished);
            QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), name));
            const bool kept = rules == Rules::WriteOnce && put > 0;
            QTRY_COMPARE_WITH_TIMEOUT(
                    outcomes(spy),
                    QList<Outcome> { kept ? Outcome::ReplaceRefused : Outcome::Completed },
                    kWaitMillis);
            sessions << m_service->logins() - before;
            // Never a temporary file left beside the record.
            QCOMPARE(filesIn(m_exchange), QStringList { name });
            QCOMPARE(readFile(remote(name)), kept ? "record 0" : record);
        }
        QTEST(sessions, "sessions");
    }

    void serverAddressForms_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("baseUrl");  // empty: not an address
        QTest::newRow("address") << u"192.168.1.10"_qs << QByteArray("ftp://192.168.1.10/");
        QTest::newRow("blanks, scheme in capitals, port")
                << u" \tFTP://host:2121 "_qs << QByteArray("ftp://host:2121/");
        QTest::newRow("folder, trailing and doubled slashes")
                << u"10.0.0.1//typedata/"_qs << QByteArray("ftp://10.0.0.1/typedata/");
        QTest::newRow("backslashes, Chinese, blank and # in folder")
                << u"10.0.0.1\\考试\\a b#"_qs
                << QByteArray("ftp://10.0.0.1/%E8%80%83%E8%AF%95/a%20b%23/");
        QTest::newRow("IPv6 with port") << u"[::1]:21/x"_qs << QByteArray("ftp://[::1]:21/x/");
        QTest::newRow("empty") << u"  "_qs << QByteArray();
        QTest::newRow("other scheme") << u"http://host"_qs << QByteArray();
        QTest::newRow("credentials") << u"user:pw@host"_qs << QByteArray();
        QTest::newRow("port out of range") << u"host:70000"_qs << QByteArray();
        QTest::newRow("blank inside the host") << u"10.0. 0.1"_qs << QByteArray();
        QTest::newRow("parent folder") << u"host/../etc"_qs << QByteArray();
        QTest::newRow("control sign in folder") << u"host/a\rDELE"_qs << QByteArray();
    }
    void serverAddressForms()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, baseUrl);
        const ServerAddressReading reading = parseServerAddress(typed);
        QCOMPARE(reading.address ? reading.address->baseUrl() : QByteArray(), baseUrl);
        QCOMPARE(reading.problem.isEmpty(), !baseUrl.isEmpty());
    }

    void failedRenameIsAnError()
    {
        // A folder in the way makes every rename onto that name fail.
        QVERIFY(QDir(m_exchange).mkpath(QStringLiteral("x.zip/inside")));
        QVERIFY(writeFile(local(QStringLiteral("sc1.zip")), "record"));
        QSignalSpy spy(m_channel.get(), &TransferChannel::finished);
        QVERIFY(m_channel->put(QStringLiteral("sc1.zip"), QStringLiteral("x.zip")));
        QTRY_COMPARE_WITH_TIMEOUT(outcomes(spy).size(), 1, kWaitMillis);
        QVERIFY(outcomes(spy).first() != Outcome::Completed);
    }

    void newestRecordWinsWhileChannelIsBusy()
    {
        QVERIFY(restartService(40));  // a record takes seconds to travel
        const Examinee examinee {
            m_service->address(), u"系"_qs, u"01"_qs, u"名"_qs, 20, {}, {}, {}
        };
        ResultUpload upload(m_work.path());
        QSignalSpy states(&upload, &ResultUpload::stateChanged);
        QSignalSpy channel(&upload.channel(), &TransferChannel::finished);
        for (float speed : { 0.0f, 10.0f, 20.0f })
            QCOMPARE(upload.save(recordFor(examinee, speed), examinee), QString());
        QTRY_COMPARE_WITH_TIMEOUT(upload.state(), ResultUpload::State::Delivered, kWaitMillis);
        // The first record was already under way; the second never went out,
        // and nothing was called delivered before the newest arrived.
        QCOMPARE(outcomes(channel).count(Outcome::Completed), 2);
        QCOMPARE(states.count(), 2);
        QCOMPARE(readResultFile(remote(upload.remoteName())).record->speed, 20.0f);
    }

    void entriesCannotLeaveExchangeFolder_data()
    {
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("examNumber");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("parent folder") << u"../x"_qs << u"1"_qs << u"a"_qs << u"___x-1-a.zip"_qs;
        QTest::newRow("subfolder") << u"a/b"_qs << u"..\\.."_qs << u"c"_qs << u"a_b-.._..-c.zip"_qs;
        QTest::newRow("signs no file name holds")
                << u"C:系"_qs << u"*?\"<>|"_qs << u"名\t字\x01"_qs << u"C_系-______-名_字_.zip"_qs;
        QTest::newRow("blanks, Chinese and URL signs stay")
                << u" 一 班 "_qs << u"20-23"_qs << u"张%20三#;"_qs
                << u" 一 班 -20-23-张%20三#;.zip"_qs;
    }
    void entriesCannotLeaveExchangeFolder()
    {
        QFETCH(QString, department);
        QFETCH(QString, examNumber);
        QFETCH(QString, name);
        QFETCH(QString, fileName);
        const Examinee examinee {
            m_service->address(), department, examNumber, name, 20, {}, {}, {}
        };
        ResultUpload upload(m_work.path());
        QCOMPARE(upload.save(recordFor(examinee), examinee), QString());
        QTRY_COMPARE_WITH_TIMEOUT(upload.state(), ResultUpload::State::Delivered, kWaitMillis);
        QCOMPARE(filesIn(m_root.path()), QStringList { QStringLiteral("typedata") });
        QCOMPARE(filesIn(m_exchange), QStringList { fileName });
        // The record arrives byte for byte and keeps the entries exactly as typed.
        QCOMPARE(readFile(remote(fileName)), readFile(local(u"sc1.zip"_qs)));
        const ResultRecordReading reading = readResultFile(remote(fileName));
        QCOMPARE(reading.record->department + reading.record->examNumber + reading.record->name,
                 department + examNumber + name);
    }
};

QTEST_GUILESS_MAIN(TestTransferChannel)
#include "tst_transferchannel.moc"
