// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The records' files written on the worker, read back as the console and a
// resume read them: the newest record, whole, once the writer has closed; a
// folder that cannot be written is reported, and writing goes on once it can.
#include "transfer/recordfilewriter.h"
#include "testrecords.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

ResultRecord typingRecord(qint32 sequence)
{
    ResultRecord record =
            sampleRecord(u"计算机系"_qs, u"2026001"_qs, u"张三"_qs, 42.5f, 97.25f, 95);
    const QString typed = u"第%1行：abc\r\n"_qs.arg(sequence) + QString(30000, u'字');
    record.progress = ResultProgress { sequence, u"s-1"_qs, ResultProgress::Phase::Typing, 9 };
    record.answerSheet = AnswerSheet { "d1", 10, 1, typed };
    record.sections.push_back({ u"timeline"_qs, QByteArray("\x01\x00\xff", 3) });
    return record;
}

void compareFile(const QString &path, const ResultRecord &expected)
{
    const ResultRecordReading read = readResultFile(path);
    QVERIFY2(read.ok(), qPrintable(read.problem));
    QCOMPARE(read.record->speed, expected.speed);
    QCOMPARE(read.record->progress, expected.progress);
    QCOMPARE(read.record->answerSheet, expected.answerSheet);
    QCOMPARE(read.record->sections.size(), size_t(1));
    QCOMPARE(read.record->sections[0].bytes, expected.sections[0].bytes);
}

QString problemOf(const QList<QVariant> &written)
{
    return written.at(1).value<wholefile::Reading>().problem;
}

}  // namespace

class TestRecordFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void closedWriterLeavesTheNewestRecords_data()
    {
        QTest::addColumn<QList<bool>>("sent");  // of records 1, 2, 3
        QTest::addColumn<int>("newestSent");  // in sc1.zip; 0: none
        QTest::newRow("one checkpoint") << QList<bool> { false } << 0;
        QTest::newRow("sent, then checkpoints") << QList<bool> { true, false, false } << 1;
        QTest::newRow("checkpoints, then sent") << QList<bool> { false, false, true } << 3;
    }
    void closedWriterLeavesTheNewestRecords()
    {
        QFETCH(QList<bool>, sent);
        QFETCH(int, newestSent);
        QTemporaryDir work;
        {
            RecordFileWriter writer(work.path());  // closed at the brace
            for (int number = 1; number <= sent.size(); ++number)
                writer.write(typingRecord(number), sent[number - 1]);
        }
        const QDir folder(work.path());
        compareFile(folder.filePath(u"resume.zip"_qs), typingRecord(int(sent.size())));
        if (newestSent > 0)
            compareFile(folder.filePath(u"sc1.zip"_qs), typingRecord(newestSent));
        QCOMPARE(folder.entryList(QDir::Files).size(), newestSent > 0 ? 2 : 1);  // no leftovers
    }

    void unwritableFolderIsReportedThenWritten()
    {
        QTemporaryDir parent;
        const QString folder = QDir(parent.path()).filePath(u"work"_qs);
        RecordFileWriter writer(folder);
        QSignalSpy written(&writer, &RecordFileWriter::written);
        writer.write(typingRecord(1), true);
        QTRY_COMPARE(written.count(), 1);
        QVERIFY(problemOf(written[0]).contains(QDir::toNativeSeparators(folder)));

        QVERIFY(QDir(parent.path()).mkdir(u"work"_qs));
        writer.write(typingRecord(2), true);
        QTRY_COMPARE(written.count(), 2);
        QCOMPARE(problemOf(written[1]), QString());
        compareFile(QDir(folder).filePath(u"sc1.zip"_qs), typingRecord(2));
        compareFile(QDir(folder).filePath(u"resume.zip"_qs), typingRecord(2));
    }
};

QTEST_GUILESS_MAIN(TestRecordFileWriter)
#include "tst_recordfilewriter.moc"
