// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real client against Debian's FTP services set up as the manual says:
// the login downloads the exam from the exchange folder beneath the home, the
// first record arrives, and the final one arrives beside it under a new name,
// since examinees may not replace files there.
#include "exchange/examsettings.h"
#include "transfer/loginsession.h"
#include "transfer/recordstamp.h"
#include "transfer/resultupload.h"
#include "systemftpservice.h"
#include "testfiles.h"
#include "testrecords.h"
#include "exchange/transcode.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMillis = 20000;

ResultRecord recordIn(const QString &path)
{
    return readResultFile(path).record.value_or(ResultRecord {});
}

}  // namespace

class TestRealServices : public QObject
{
    Q_OBJECT

private slots:
    void wholeExamThroughService_data()
    {
        QTest::addColumn<SystemFtpService::Kind>("kind");
        for (const auto kind : { SystemFtpService::Kind::Vsftpd, SystemFtpService::Kind::PureFtpd })
            QTest::newRow(qPrintable(SystemFtpService::name(kind))) << kind;
    }
    void wholeExamThroughService()
    {
        QFETCH(SystemFtpService::Kind, kind);
        SystemFtpService service(kind);
        if (const QString problem = service.start(); !problem.isEmpty())
            QSKIP(qPrintable(problem));
        const QDir exchange(service.exchangeFolder());
        const QByteArray text = "第一行文字\r\nsecond line\r\n";
        QVERIFY(writeFile(exchange.filePath(u"se.dll"_qs),
                          transcodeBytes(ExamSettings { true, 20 }.toRecordLines(), kExchangeKey)));
        QVERIFY(writeFile(exchange.filePath(u"te.txt"_qs), text));

        QTemporaryDir work;
        LoginSession login(work.path());
        login.open();
        QSignalSpy loggedIn(&login, &LoginSession::loggedIn);
        QSignalSpy status(&login, &LoginSession::statusChanged);
        const Examinee typed {
            service.address(), u"计算机系"_qs, u"07"_qs, u"张三"_qs, 0, {}, {}, {}
        };
        QCOMPARE(login.login(typed).outcome, LoginSession::ClickOutcome::Started);
        QTRY_VERIFY2_WITH_TIMEOUT(
                loggedIn.count() == 1,
                qPrintable(status.isEmpty() ? QString() : status.last().at(0).toString()),
                kWaitMillis);
        QCOMPARE(readFile(work.filePath(u"te.txt"_qs)), text);
        const Examinee examinee = loggedIn.first().at(0).value<Examinee>();
        QCOMPARE(examinee.examMinutes, qint16(20));

        ResultUpload upload(work.path());
        RecordStamp session;
        for (const float speed : { 0.0f, 45.5f }) {
            const ResultRecord record {
                speed,         90,          60, 502, 50, examinee.department, examinee.examNumber,
                examinee.name, std::nullopt
            };
            QCOMPARE(upload.save(session.next(record), examinee), QString());
            QTRY_COMPARE_WITH_TIMEOUT(upload.state(), ResultUpload::State::Delivered, kWaitMillis);
        }
        const QString name = u"计算机系-07-张三"_qs;
        QCOMPARE(filesIn(exchange.path()),
                 (QStringList { u"se.dll"_qs, u"te.txt"_qs, name + u".zip"_qs,
                                name + u"~2.zip"_qs }));
        // The console takes the newest record of one session: same id, higher sequence.
        const ResultRecord first = recordIn(exchange.filePath(name + u".zip"_qs));
        const ResultRecord last = recordIn(exchange.filePath(name + u"~2.zip"_qs));
        QCOMPARE(first.speed, 0.0f);
        QCOMPARE(last.speed, 45.5f);
        QVERIFY(first.progress && last.progress);
        QCOMPARE(last.progress->sessionId, first.progress->sessionId);
        QVERIFY(last.progress->sequence > first.progress->sequence);
    }
};

QTEST_GUILESS_MAIN(TestRealServices)
#include "tst_realservices.moc"
