// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Records forged as an unruly class would, uploaded through the real FTP
// service into the folder a console watches (no login codes): every one
// must leave its row in doubt, with the reason. The record lines are
// written out by hand here, not by the programs' own writer.
#include "consoleroom.h"
#include "exchange/examdigest.h"
#include "ftpservice.h"
#include "exchange/gbk.h"
#include "testrecords.h"
#include "transfer/transferchannel.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// 370 characters, as the class's exam text.
QString examText()
{
    return QStringLiteral("春眠不觉晓处处闻啼鸟").repeated(37);
}

// Lines 1 to 14 of a finished record of examinee `number` in session
// s`number`; `target` is the text's length as the record gives it (the client
// counts the published text's final line break too: 372).
QByteArray head(const QString &number, const char *speed, int seconds, int typed, int sequence,
                const char *phase, int typedSoFar, int target = 370)
{
    return "40\r\n98\r\n" + QByteArray(speed) + "\r\n100\r\n" + QByteArray::number(seconds) + "\r\n"
            + QByteArray::number(target) + "\r\n" + QByteArray::number(typed) + "\r\n\""
            + gbk::encode(u"一班") + "\"\r\n\"" + number.toLatin1() + "\"\r\n\""
            + gbk::encode(u"考生") + number.toLatin1() + "\"\r\n" + QByteArray::number(sequence)
            + "\r\n\"s" + number.toLatin1() + "\"\r\n\"" + phase + "\"\r\n"
            + QByteArray::number(typedSoFar) + "\r\n";
}

// Lines 15 to 18 and the sheet's bytes: `count` is what line 18 claims.
QByteArray sheet(const QByteArray &digest, int resumes, const QByteArray &typed, qsizetype count)
{
    return "\"" + digest + "\"\r\n5\r\n" + QByteArray::number(resumes) + "\r\n"
            + QByteArray::number(count) + "\r\n" + typed + "\r\n";
}

}  // namespace

class TestForgedRecords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QFile article(m_room.app(u"test.txt"_qs));
        QFile minutes(m_room.app(u"time.txt"_qs));
        QVERIFY(article.open(QIODevice::WriteOnly) && minutes.open(QIODevice::WriteOnly));
        article.write(gbk::encode(examText()));
        minutes.write("5\r\n");
        article.close();
        minutes.close();
        m_console = std::make_unique<console::ConsoleController>(m_room.folders());
        QCOMPARE(m_console->openLogin(), QString());
        // Published long before the watches the forgeries are held to.
        QVERIFY(backdate(m_room.app(u"fb.txt"_qs), 3600));
        m_digest = examDigest(readFile(m_room.exchange(u"te.txt"_qs)));
        QVERIFY(m_service.start());
        m_channel.setRemoteHost(m_service.address());
        m_channel.setWorkingFolder(m_local.path());
    }

    void forgeryIsDoubted_data()
    {
        QTest::addColumn<QString>("number");  // the examinee's exam number
        QTest::addColumn<QByteArray>("before");  // an earlier record of the session; may be empty
        QTest::addColumn<QByteArray>("forged");
        QTest::addColumn<QStringList>("reasons");  // each a part of the row's doubts
        const QByteArray text = gbk::encode(examText());
        const QByteArray d = m_digest;
        const QString damaged = u"答卷缺失或已损坏"_qs;
        QTest::newRow("370 characters in 1 s")
                << u"01"_qs << QByteArray()
                << head(u"01"_qs, "22200", 1, 370, 2, "finished", 370) + sheet(d, 0, text, 740)
                << QStringList { u"速度22200超过每分钟300字"_qs };
        QTest::newRow("time cut from 300 s to 60 s")
                << u"02"_qs << QByteArray()
                << head(u"02"_qs, "370", 60, 370, 2, "finished", 370) + sheet(d, 0, text, 740)
                << QStringList { u"速度370超过每分钟300字"_qs };
        QTest::newRow("5,000 characters beyond the text")
                << u"03"_qs << QByteArray()
                << head(u"03"_qs, "74", 300, 5370, 2, "finished", 5370)
                        + sheet(d, 0, text + QByteArray(5000, 'a'), 5740)
                << QStringList { u"打字数5370超过原文字数370加200"_qs };
        QTest::newRow("typedSoFar=99999")
                << u"04"_qs << QByteArray()
                << head(u"04"_qs, "74", 300, 370, 2, "finished", 99999) + sheet(d, 0, text, 740)
                << QStringList { u"进度行的打字数99999超过成绩的打字数370"_qs };
        QTest::newRow("sheet byte count one too high")
                << u"05"_qs << QByteArray()
                << head(u"05"_qs, "74", 300, 370, 2, "finished", 370) + sheet(d, 0, text, 741)
                << QStringList { damaged };
        QTest::newRow("sheet byte count one short")
                << u"06"_qs << QByteArray()
                << head(u"06"_qs, "74", 300, 370, 2, "finished", 370) + sheet(d, 0, text, 739)
                << QStringList { damaged };
        QTest::newRow("lines 15 to 18 removed")
                << u"07"_qs << QByteArray()
                << head(u"07"_qs, "74", 300, 370, 2, "finished", 370) + text + "\r\n"
                << QStringList { damaged };
        QTest::newRow("an invalid GBK pair in the text")
                << u"08"_qs << QByteArray()
                << head(u"08"_qs, "74", 300, 370, 2, "finished", 370)
                        + sheet(d, 0, text.left(738) + "\x81\x7f", 740)
                << QStringList { damaged };
        QTest::newRow("checkpoint edited: resumes -1, sequence +10")
                << u"09"_qs
                << head(u"09"_qs, "74", 200, 247, 2, "typing", 247)
                        + sheet(d, 0, text.left(494), 494)
                << head(u"09"_qs, "74", 300, 370, 12, "finished", 370) + sheet(d, -1, text, 740)
                << QStringList { u"续考次数-1小于0"_qs, u"记录序号从2跳到12"_qs };
        QTest::newRow("time given back within a session")
                << u"10"_qs
                << head(u"10"_qs, "74", 200, 247, 2, "typing", 247)
                        + sheet(d, 0, text.left(494), 494)
                << head(u"10"_qs, "74", 100, 370, 3, "finished", 370) + sheet(d, 0, text, 740)
                << QStringList { u"用时从200秒退回到100秒"_qs };
    }
    void forgeryIsDoubted()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, forged);
        QFETCH(QStringList, reasons);
        const QString remote = u"一班-%1-考生%1.zip"_qs.arg(number);
        if (!before.isEmpty()) {
            QVERIFY(upload(before, remote));
            collect();
        }
        QVERIFY(upload(forged, remote));
        collect();
        const ClassViewRow *row = nullptr;
        for (const ClassViewRow &shown : m_console->liveClass().live().rows())
            row = shown.examNumber == number ? &shown : row;
        QVERIFY(row);
        const QString doubts = row->doubts.join(u'\n');
        for (const QString &reason : reasons)
            QVERIFY2(doubts.contains(reason), qPrintable(doubts));
    }

    // A classmate uploads a finished record under another examinee's name,
    // its figures agreeing with its sheet. Without codes only the timeline
    // tells: a console that collected since before the session could have
    // begun would have seen its earlier records. One that watched for less
    // cannot tell, and shows the figures as handed in.
    void classmatesForgeryWithoutCodes_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("ownSessionSeen");  // the examinee's own, typing, seen before
        QTest::addColumn<int>("watchedSeconds");  // collecting every 5 s until it arrived
        QTest::addColumn<QStringList>("reasons");  // the row's doubts, all of them
        const QString noProcess = u"没有考试过程记录"_qs;
        // 300 s used and the slowest upload interval of 130 s before it.
        QTest::newRow("watched since before it could have begun")
                << u"11"_qs << false << 440 << QStringList { noProcess };
        QTest::newRow("watched for less than it claims")
                << u"12"_qs << false << 420 << QStringList();
        QTest::newRow("beside the examinee's own session")
                << u"13"_qs << true << 440
                << QStringList { u"同一考生有2次登录考试的成绩文件"_qs, noProcess };
    }
    void classmatesForgeryWithoutCodes()
    {
        QFETCH(QString, number);
        QFETCH(bool, ownSessionSeen);
        QFETCH(int, watchedSeconds);
        QFETCH(QStringList, reasons);
        const QByteArray text = gbk::encode(examText());
        const QString remote = u"一班-%1-考生%1.zip"_qs.arg(number);
        if (ownSessionSeen) {
            QByteArray own = head(number, "74", 100, 123, 2, "typing", 123, 372)
                    + sheet(m_digest, 0, text.left(246), 246);
            own.replace(QByteArray("\"s" + number.toLatin1() + '"'),
                        QByteArray("\"r" + number.toLatin1() + '"'));
            QVERIFY(upload(withClientParts(own), remote));
            collect();
        }
        QVERIFY(upload(withClientParts(head(number, "74", 300, 370, 2, "finished", 370, 372)
                                       + sheet(m_digest, 0, text, 740)),
                       remote));
        // The first collection to meet it, by a console that had been
        // collecting every 5 s for `watchedSeconds`.
        CollectionWatch watch;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int before = watchedSeconds; before > 0; before -= 5)
            watch.collectedAt(now.addSecs(-before));
        {
            ResultStore store(m_room.databaseFile);
            ResultCollector watching(m_room.exchangeFolder, m_room.appFolder(), store, nullptr,
                                     &watch);
            QVERIFY(watching.collect().ok());
        }
        collect();
        const ClassViewRow *row = nullptr;
        for (const ClassViewRow &shown : m_console->liveClass().live().rows())
            row = shown.examNumber == number ? &shown : row;
        QVERIFY(row);
        QCOMPARE(row->doubts.join(u"\n"), reasons.join(u"\n"));
        QCOMPARE(row->state, ExamineeState::Finished);
        QCOMPARE(row->speed, 74.0);
    }

private:
    // A careful forger's record carries all a client writes.
    QByteArray withClientParts(const QByteArray &plain) const
    {
        ResultRecord record = *readResultRecord(plain).record;
        addClientParts(record, m_room.exchangeFolder);
        return record.toRecordLines();
    }

    bool upload(const QByteArray &plain, const QString &remote)
    {
        if (!writeFile(m_local.filePath(u"up.zip"_qs), transcodeBytes(plain, kExchangeKey)))
            return false;
        QSignalSpy done(&m_channel, &TransferChannel::finished);
        return m_channel.put(u"up.zip"_qs, remote) && done.wait(15000)
                && done.first().first().value<TransferChannel::Outcome>()
                == TransferChannel::Outcome::Completed;
    }
    void collect()
    {
        m_console->collectQuietly();
        m_console->waitForCollection();
    }

    ConsoleRoom m_room;
    FtpService m_service { m_room.exchangeFolder };
    QTemporaryDir m_local;
    TransferChannel m_channel;
    std::unique_ptr<console::ConsoleController> m_console;
    QByteArray m_digest;
};

QTEST_MAIN(TestForgedRecords)
#include "tst_forgedrecords.moc"
