// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The records' files written on the worker: each file read back as the
// console and a resume read it holds the record handed over, the newest
// last; a folder that cannot be written is reported, and writing goes on
// once it can.
#include "transfer/recordfilewriter.h"
#include "testrecords.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A typing record with all its parts: Chinese and line breaks in the sheet,
// a section after it.
ResultRecord typingRecord(qint32 sequence, const QString &typed)
{
    ResultRecord record =
            sampleRecord(u"计算机系"_qs, u"2026001"_qs, u"张三"_qs, 42.5f, 97.25f, 95);
    record.progress = ResultProgress { sequence, u"s-1"_qs, ResultProgress::Phase::Typing,
                                       qint32(typed.size()) };
    record.answerSheet = AnswerSheet { "d1", 10, 1, typed };
    record.sections.push_back({ u"timeline"_qs, QByteArray("\x01\x02\x00\xff", 4) });
    return record;
}

// The fields both programs read, compared one by one.
void compareRecords(const ResultRecordReading &read, const ResultRecord &expected)
{
    QVERIFY2(read.ok(), qPrintable(read.problem));
    const ResultRecord &record = *read.record;
    QCOMPARE(record.name, expected.name);
    QCOMPARE(record.examNumber, expected.examNumber);
    QCOMPARE(record.department, expected.department);
    QCOMPARE(record.speed, expected.speed);
    QCOMPARE(record.accuracy, expected.accuracy);
    QCOMPARE(record.timePass, expected.timePass);
    QCOMPARE(record.progress, expected.progress);
    QCOMPARE(record.answerSheet, expected.answerSheet);
    QCOMPARE(record.sections.size(), expected.sections.size());
    QCOMPARE(record.sections.front().name, expected.sections.front().name);
    QCOMPARE(record.sections.front().bytes, expected.sections.front().bytes);
}

}  // namespace

class TestRecordFileWriter : public QObject
{
    Q_OBJECT

private slots:
    // Records handed over one after another: sc1.zip holds the newest sent,
    // the checkpoint the newest of all.
    void filesHoldTheNewestRecord_data()
    {
        QTest::addColumn<QList<bool>>("sent");  // of records 1, 2, 3
        QTest::addColumn<int>("newestSent");  // 0: none
        QTest::newRow("one sent") << QList<bool> { true } << 1;
        QTest::newRow("one checkpoint") << QList<bool> { false } << 0;
        QTest::newRow("sent, then checkpoints") << QList<bool> { true, false, false } << 1;
        QTest::newRow("checkpoints, then sent") << QList<bool> { false, false, true } << 3;
        QTest::newRow("all sent") << QList<bool> { true, true, true } << 3;
    }
    void filesHoldTheNewestRecord()
    {
        QFETCH(QList<bool>, sent);
        QFETCH(int, newestSent);
        QTemporaryDir work;
        RecordFileWriter writer(work.path());
        QSignalSpy written(&writer, &RecordFileWriter::written);
        QList<ResultRecord> records;
        for (int number = 1; number <= sent.size(); ++number) {
            records.append(typingRecord(number, u"第%1行：abc\r\n汉字"_qs.arg(number)));
            writer.write(records.last(), sent[number - 1]);
        }
        QTRY_COMPARE(written.count(), sent.size());
        for (int number = 0; number < sent.size(); ++number) {
            QCOMPARE(written.at(number).at(0).toBool(), sent[number]);
            QCOMPARE(written.at(number).at(1).toString(), QString());
        }
        const QDir folder(work.path());
        compareRecords(readResultFile(folder.filePath(u"resume.zip"_qs)), records.last());
        if (newestSent == 0) {
            QVERIFY(!folder.exists(u"sc1.zip"_qs));
            return;
        }
        compareRecords(readResultFile(folder.filePath(u"sc1.zip"_qs)), records[newestSent - 1]);
        // Nothing is left half-written beside them.
        QCOMPARE(folder.entryList(QDir::Files), (QStringList { u"resume.zip"_qs, u"sc1.zip"_qs }));
    }

    void unwritableFolderIsReportedThenWritten()
    {
        QTemporaryDir parent;
        const QString folder = QDir(parent.path()).filePath(u"work"_qs);
        RecordFileWriter writer(folder);
        QSignalSpy written(&writer, &RecordFileWriter::written);
        writer.write(typingRecord(1, u"abc"_qs), true);
        QTRY_COMPARE(written.count(), 1);
        QVERIFY(written.at(0).at(1).toString().contains(QDir::toNativeSeparators(folder)));
        QVERIFY(!QFileInfo::exists(QDir(folder).filePath(u"resume.zip"_qs)));

        QVERIFY(QDir(parent.path()).mkdir(u"work"_qs));
        const ResultRecord second = typingRecord(2, u"abcd"_qs);
        writer.write(second, true);
        QTRY_COMPARE(written.count(), 2);
        QCOMPARE(written.at(1).at(1).toString(), QString());
        compareRecords(readResultFile(QDir(folder).filePath(u"sc1.zip"_qs)), second);
        compareRecords(readResultFile(QDir(folder).filePath(u"resume.zip"_qs)), second);
    }

    // The client closing: what was handed over is on the disk when the
    // writer is gone.
    void closingWaitsForTheWrites()
    {
        QTemporaryDir work;
        const ResultRecord record = typingRecord(7, QString(30000, u'字'));
        {
            RecordFileWriter writer(work.path());
            writer.write(record, true);
        }
        compareRecords(readResultFile(QDir(work.path()).filePath(u"resume.zip"_qs)), record);
        compareRecords(readResultFile(QDir(work.path()).filePath(u"sc1.zip"_qs)), record);
    }
};

QTEST_GUILESS_MAIN(TestRecordFileWriter)
#include "tst_recordfilewriter.moc"
