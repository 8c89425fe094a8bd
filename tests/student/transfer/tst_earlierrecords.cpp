// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The search for an examinee's earlier records over a real FTP service: one
// listing of the folder finds every own name, gaps or not.
#include "transfer/earlierrecords.h"
#include "ftpservice.h"
#include "testfiles.h"
#include "testrecords.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestEarlierRecords : public QObject
{
    Q_OBJECT

private slots:
    void everyOwnNameIsFound_data()
    {
        QTest::addColumn<QList<int>>("onService");  // 1 is the plain name, 2 "~2" ...
        QTest::addColumn<int>("newestName");
        QTest::newRow("none") << QList<int> {} << 0;
        QTest::newRow("plain") << QList<int> { 1 } << 1;
        QTest::newRow("plain, ~2, ~3") << QList<int> { 1, 2, 3 } << 3;
        // A failed upload or a deleted file leaves a gap; the names after it count.
        QTest::newRow("~2 missing") << QList<int> { 1, 3 } << 3;
        QTest::newRow("plain missing") << QList<int> { 2 } << 2;
        QTest::newRow("a gap of three") << QList<int> { 1, 2, 6 } << 6;
    }
    void everyOwnNameIsFound()
    {
        QFETCH(QList<int>, onService);
        FtpService service;
        QVERIFY(service.start());
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        for (const int number : onService)
            QVERIFY(!writeResultFile(
                             service.folder(),
                             sampleRecord(who.department, who.examNumber, who.name, 30, 90, 60),
                             number)
                             .isEmpty());
        // A classmate's names and other files are not the examinee's.
        QVERIFY(!writeResultFile(service.folder(), sampleRecord(u"系"_qs, u"02"_qs, u"李四"_qs), 9)
                         .isEmpty());
        QVERIFY(writeFile(QDir(service.folder()).filePath(u"te.txt"_qs), "text"));
        QTemporaryDir work;
        TransferChannel channel;
        channel.setWorkingFolder(work.path());
        channel.setRemoteHost(who.serverIP);
        EarlierRecords earlier(channel, work.path());
        QObject::connect(&channel, &TransferChannel::finished, &earlier,
                         &EarlierRecords::takeFetched);
        QSignalSpy ended(&earlier, &EarlierRecords::ended);
        earlier.search(who, "d1", 10);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 20000);
        QTEST(earlier.newestName(), "newestName");
        // The scratch copy does not stay behind.
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestEarlierRecords)
#include "tst_earlierrecords.moc"
