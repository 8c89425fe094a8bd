// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Collection from an exchange folder that examinees can write anything into,
// and the collapsing of one exam session's files into one row. Real files,
// real SQLite.
#include "collect/resultcollector.h"
#include "collect/resultstore.h"
#include "exchange/examlimits.h"
#include "exchange/keytimeline.h"
#include "testfiles.h"
#include "testrecords.h"
#include "exchange/transcode.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/types.h>

namespace {

QByteArray record(const QString &name, float speed = 50,
                  std::optional<ResultProgress> progress = std::nullopt)
{
    ResultRecord r = sampleRecord(u"一班"_qs, u"01"_qs, name, speed);
    r.progress = std::move(progress);
    return r.toRecordLines();
}

ResultProgress progress(int sequence, const QString &session, ResultProgress::Phase phase)
{
    return { sequence, session, phase, sequence * 10 };
}

}  // namespace

class TestCollector : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_root->path()).mkpath(u"exchange"_qs)
                && QDir(m_root->path()).mkpath(u"app"_qs));
        m_store = std::make_unique<ResultStore>(m_root->filePath(u"app/cj.mdb"_qs));
        // Two good records around every hostile entry, in name order.
        put(u"a.zip"_qs, record(u"甲"_qs));
        put(u"z.zip"_qs, record(u"乙"_qs));
    }

    void cleanup()
    {
        if (!m_undecodable.isEmpty())
            std::remove(std::exchange(m_undecodable, QByteArray()).constData());
        m_store.reset();
        m_root.reset();
    }

    void hostileEntriesAreListedNotRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");  // empty: collected
        QTest::addColumn<bool>("read");  // whether its bytes may be read at all
        QTest::newRow("record followed by 100 MB") << u"huge"_qs << u"文件太大"_qs << false;
        QTest::newRow("link to a FIFO") << u"fifo link"_qs << u"是链接"_qs << false;
        QTest::newRow("FIFO") << u"fifo"_qs << u"不是普通文件"_qs << false;
#ifndef Q_OS_WIN  // QFile::link makes a shortcut there, which no path goes through
        QTest::newRow("link to a record outside") << u"outside link"_qs << u"是链接"_qs << false;
#endif
        QTest::newRow("name of 40,000 characters") << u"40000"_qs << u"超过1024字节"_qs << true;
        QTest::newRow("name of 101 characters") << u"101"_qs << u"超过100个字符"_qs << true;
        QTest::newRow("NUL in a name") << u"nul"_qs << u"控制字符"_qs << true;
        QTest::newRow("line feed in a name") << u"lf"_qs << u"控制字符"_qs << true;
#ifndef Q_OS_WIN  // names are UTF-16 there: every one has a text
        QTest::newRow("file name not UTF-8") << u"bad name"_qs << u"文件名无法识别"_qs << false;
#endif
        QTest::newRow("folder") << u"folder"_qs << u"是文件夹"_qs << false;
        QTest::newRow("dot file") << u"dot"_qs << QString() << true;
    }

    void hostileEntriesAreListedNotRead()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QFETCH(bool, read);
        const QString outside = m_root->filePath(u"secret.zip"_qs);
        const QByteArray secret = record(u"外人"_qs);
        QVERIFY(writeScrambled(outside, secret));
        QString entry = u"zz.zip"_qs;  // read last, so cj.zip would be left holding it
        if (kind == u"huge") {
            QVERIFY(writeScrambled(exchange(entry), record(u"丙"_qs)));
            QVERIFY(QFile::resize(exchange(entry), 100 << 20));  // sparse: costs no disk
        } else if (kind == u"fifo" || kind == u"fifo link") {
#ifdef Q_OS_WIN
            QSKIP("Windows has no named pipes in the file system");
#else
            const QString fifo = kind == u"fifo" ? exchange(entry) : m_root->filePath(u"fifo"_qs);
            QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            if (kind == u"fifo link")
                QVERIFY(QFile::link(fifo, exchange(entry)));
#endif
        } else if (kind == u"outside link") {
            QVERIFY(QFile::link(outside, exchange(entry)));
        } else if (kind == u"40000" || kind == u"101") {
            put(entry, record(QString(kind.toInt(), u'x')));
        } else if (kind == u"nul" || kind == u"lf") {
            put(entry, record(u"张"_qs + QChar(kind == u"nul" ? 0 : '\n') + u"三"_qs));
        } else if (kind == u"bad name") {
            const QByteArray path = QFile::encodeName(exchange(QString())) + "zz\xff.zip";
            FILE *raw = std::fopen(path.constData(), "wb");
            QVERIFY(raw);
            const QByteArray bytes = transcodeBytes(record(u"丁"_qs), kExchangeKey);
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), raw);
            std::fclose(raw);
            // QTemporaryDir cannot remove a name it cannot decode.
            m_undecodable = path;
            entry = u"zz\uFFFD.zip"_qs;
        } else if (kind == u"folder") {
            QVERIFY(QDir(exchange(QString())).mkdir(entry));
        } else if (kind == u"dot") {
            entry = u".net班-01-戊.zip"_qs;
            put(entry, record(u"戊"_qs));
        }

        ResultCollector collector(exchange(QString()), m_root->filePath(u"app"_qs), *m_store);
        const CollectionReport report = collector.collect();
        QVERIFY2(report.ok(), qPrintable(report.problem));
        QStringList names;
        for (const CollectedResult &result : report.results)
            names << result.record.name;
        const QStringList expected = reason.isEmpty() ? QStringList { u"戊"_qs, u"甲"_qs, u"乙"_qs }
                                                      : QStringList { u"甲"_qs, u"乙"_qs };
        QCOMPARE(names, expected);
        QCOMPARE(m_store->rowCount(), std::optional<int>(int(names.size())));
        if (reason.isEmpty()) {
            QVERIFY(report.skipped.isEmpty());
        } else {
            QCOMPARE(report.skipped.size(), 1);
            QCOMPARE(report.skipped[0].name, entry);
            QVERIFY2(report.skipped[0].reason.contains(reason),
                     qPrintable(report.skipped[0].reason));
        }
        // cj.zip holds the last file read: never one behind a link.
        const QString scratch = m_root->filePath(u"app/cj.zip"_qs);
        QVERIFY(QFile::exists(scratch));
        QCOMPARE(readFile(scratch) == record(u"乙"_qs), !read || reason.isEmpty());
    }

    // A file is read again only when its size or time changed; the bound
    // takes the largest legal record and nothing beyond it.
    void changedFilesAreReadAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("first");  // a.zip's name afterwards; empty: skipped
        QTest::newRow("bytes swapped, same size and time") << u"swap"_qs << u"甲"_qs;
        QTest::newRow("time changed") << u"time"_qs << u"丙"_qs;
        QTest::newRow("size changed") << u"size"_qs << u"丙丙"_qs;
        QTest::newRow("largest answer sheet, one line") << u"largest"_qs << u"丙"_qs;
        QTest::newRow("one byte over the bound") << u"over"_qs << QString();
    }
    void changedFilesAreReadAgain()
    {
        QFETCH(QString, change);
        QFETCH(QString, first);
        KnownResultFiles known;
        const QString app = m_root->filePath(u"app"_qs);
        const QString path = exchange(u"a.zip"_qs);
        const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000);
        const auto setTime = [&path](const QDateTime &to) {
            QFile file(path);
            return file.open(QIODevice::ReadWrite)
                    && file.setFileTime(to, QFileDevice::FileModificationTime);
        };
        QVERIFY(setTime(time));
        QCOMPARE(ResultCollector(exchange(QString()), app, *m_store, &known)
                         .collect()
                         .results.size(),
                 2);
        ResultRecord sheet = sampleRecord(u"一班"_qs, u"01"_qs, u"丙"_qs);
        sheet.progress = progress(1, u"s"_qs, ResultProgress::Phase::Finished);
        sheet.answerSheet = AnswerSheet { "d", 20, 0,
                                          QString(examlimits::kLongestExamTextCharacters
                                                          + examlimits::kTypedBeyondTextCharacters,
                                                  u'汉') };
        put(u"a.zip"_qs,
            change == u"size"_qs              ? record(u"丙丙"_qs)
                    : change == u"largest"_qs ? sheet.toRecordLines()
                                              : record(u"丙"_qs));
        if (change == u"over"_qs)
            QVERIFY(QFile::resize(path, examlimits::kMaxResultFileBytes + 1));
        QVERIFY(setTime(change == u"swap"_qs ? time : time.addSecs(1)));
        const CollectionReport report =
                ResultCollector(exchange(QString()), app, *m_store, &known).collect();
        QCOMPARE(report.results.size(), first.isEmpty() ? 1 : 2);
        if (first.isEmpty())
            QVERIFY(report.skipped.value(0).reason.contains(u"文件太大"_qs));
        else
            QCOMPARE(report.results[0].record.name, first);
    }

    // With an examiner a collection keeps findings, not texts: each file is
    // examined once per basis, its sheet is read again whole from the file,
    // and a session finished in it keeps its whole record in the ledger.
    void examinedTextsAreLetGo_data()
    {
        QTest::addColumn<QByteArray>("secondBasis");  // empty: no examiner the second time
        QTest::addColumn<int>("examinedAgain");
        QTest::newRow("same exam: not examined again") << QByteArray("exam1") << 0;
        QTest::newRow("another exam: every record examined again") << QByteArray("exam2") << 3;
        QTest::newRow("no examiner: read again with the texts") << QByteArray() << 0;
    }
    void examinedTextsAreLetGo()
    {
        QFETCH(QByteArray, secondBasis);
        QFETCH(int, examinedAgain);
        ResultRecord finished = sampleRecord(u"一班"_qs, u"01"_qs, u"丙"_qs);
        finished.progress = progress(2, u"s"_qs, ResultProgress::Phase::Finished);
        finished.answerSheet = AnswerSheet { "d", 10, 0, u"春眠不觉晓\r\n"_qs };
        put(u"m.zip"_qs, finished.toRecordLines());
        int examined = 0;
        const auto examiner = [&examined](const QByteArray &basis) {
            return TextExaminer { basis, [&examined, basis](const ResultRecord &record) {
                                     ++examined;
                                     return TextFindings { { QString::fromLatin1(basis) },
                                                           qint32(record.typedLen),
                                                           std::nullopt };
                                 } };
        };
        KnownResultFiles known;
        const QString app = m_root->filePath(u"app"_qs);
        CollectionReport report = ResultCollector(exchange(QString()), app, *m_store, &known)
                                          .collect(examiner("exam1"));
        QCOMPARE(examined, 3);
        const CollectedResult &third = report.results.at(1);
        QCOMPARE(third.findings->doubts, QStringList { u"exam1"_qs });
        QCOMPARE(third.record.answerSheet->typedText, QString());
        const ResultRecordReading whole =
                readCollectedFile(exchange(QString()), third.files.at(third.newest));
        QVERIFY(whole.ok());
        QCOMPARE(whole.record->toRecordLines(), finished.toRecordLines());
        QSqlQuery query(m_store->database());
        QVERIFY(query.exec(u"SELECT finished FROM tabSessions"_qs) && query.next());
        QCOMPARE(query.value(0).toByteArray(), finished.toRecordLines());

        report = ResultCollector(exchange(QString()), app, *m_store, &known)
                         .collect(secondBasis.isEmpty() ? TextExaminer() : examiner(secondBasis));
        QCOMPARE(examined, 3 + examinedAgain);
        const CollectedResult &again = report.results.at(1);
        QCOMPARE(again.findings.has_value(), !secondBasis.isEmpty());
        QCOMPARE(again.record.answerSheet->typedText.isEmpty(), !secondBasis.isEmpty());
    }

    // The collection lets the timelines go; the ledger, kept in the table
    // between collections, still holds each record to the one before.
    void timelineIsHeldAcrossCollections_data()
    {
        QTest::addColumn<int>("laterFirstKeyMs");
        QTest::addColumn<QStringList>("doubts");
        QTest::newRow("goes on") << 100 << QStringList();
        QTest::newRow("a key a millisecond off")
                << 101 << QStringList { u"按键记录与此前收到的不连续"_qs };
    }
    void timelineIsHeldAcrossCollections()
    {
        QFETCH(int, laterFirstKeyMs);
        QFETCH(QStringList, doubts);
        const TextExaminer examiner { "exam",
                                      [](const ResultRecord &) { return TextFindings {}; } };
        const std::vector<TimelineKey> runs[] = { { { 100, false } },
                                                  { { laterFirstKeyMs, false }, { 900, false } } };
        for (int i = 0; i < 2; ++i) {
            KeyTimeline timeline;
            timeline.keys = runs[i];
            ResultRecord r = sampleRecord(u"一班"_qs, u"01"_qs, u"丙"_qs);
            r.progress = progress(i + 1, u"s"_qs, ResultProgress::Phase::Typing);
            r.answerSheet = AnswerSheet { "d", 10, 0, QString() };
            r.sections = { { keytimeline::kSectionName.toString(),
                             keytimeline::encode(timeline) } };
            put(u"m.zip"_qs, r.toRecordLines());
            const CollectionReport report =
                    ResultCollector(exchange(QString()), m_root->filePath(u"app"_qs), *m_store)
                            .collect(examiner);
            QCOMPARE(report.sessions.value(0).timelineDoubts, i ? doubts : QStringList());
        }
    }

    void sessionFilesMakeOneRow_data()
    {
        using Phase = ResultProgress::Phase;
        QTest::addColumn<QVector<QByteArray>>("files");  // m1.zip, m2.zip, ... in that order
        QTest::addColumn<QStringList>("rows");  // name:speed per row, in recno order
        QTest::newRow("write-once service: highest sequence wins, not the last name")
                << QVector<QByteArray> { record(u"丙"_qs, 0, progress(1, u"s1"_qs, Phase::Waiting)),
                                         record(u"丙"_qs, 70,
                                                progress(3, u"s1"_qs, Phase::Finished)),
                                         record(u"丙"_qs, 30,
                                                progress(2, u"s1"_qs, Phase::Typing)) }
                << QStringList { u"甲:50"_qs, u"丙:70"_qs, u"乙:50"_qs };
        QTest::newRow("a finished session stands for a later one of its examinee") << QVector<
                QByteArray> {
            record(u"丙"_qs, 20, progress(1, u"s2"_qs, Phase::Typing)),
            record(u"丙"_qs, 10, progress(2, u"s1"_qs, Phase::Finished)),
        } << QStringList { u"甲:50"_qs, u"丙:10"_qs, u"乙:50"_qs };
        QTest::newRow("two unfinished sessions of one examinee stay two rows")
                << QVector<QByteArray> { record(u"丙"_qs, 10, progress(2, u"s1"_qs, Phase::Typing)),
                                         record(u"丙"_qs, 20,
                                                progress(1, u"s2"_qs, Phase::Typing)) }
                << QStringList { u"甲:50"_qs, u"丙:10"_qs, u"丙:20"_qs, u"乙:50"_qs };
        QTest::newRow("records without progress lines: one row per file")
                << QVector<QByteArray> { record(u"丙"_qs, 10), record(u"丙"_qs, 20) }
                << QStringList { u"甲:50"_qs, u"丙:10"_qs, u"丙:20"_qs, u"乙:50"_qs };
        QTest::newRow("another identity in the same session is not hidden") << QVector<QByteArray> {
            record(u"丙"_qs, 10, progress(1, u"s1"_qs, Phase::Typing)),
            record(u"冒"_qs, 90, progress(9, u"s1"_qs, Phase::Finished))
        } << QStringList { u"甲:50"_qs, u"丙:10"_qs, u"冒:90"_qs, u"乙:50"_qs };
    }

    void sessionFilesMakeOneRow()
    {
        QFETCH(QVector<QByteArray>, files);
        QFETCH(QStringList, rows);
        for (int i = 0; i < files.size(); ++i)
            put(u"m%1.zip"_qs.arg(i + 1), files[i]);
        ResultCollector collector(exchange(QString()), m_root->filePath(u"app"_qs), *m_store);
        const CollectionReport report = collector.collect();
        QVERIFY2(report.ok(), qPrintable(report.problem));
        QStringList got;
        int fileCount = 0;
        for (const CollectedResult &result : report.results) {
            got << result.record.name + u':' + QString::number(result.record.speed);
            fileCount += int(result.files.size());
            // The row shows the record of the file it names as newest.
            QCOMPARE(result.files.at(result.newest).reading.record->toRecordLines(),
                     result.record.toRecordLines());
        }
        QCOMPARE(got, rows);
        QCOMPARE(fileCount, int(files.size()) + 2);
        QSqlQuery query(m_store->database());
        QVERIFY(query.exec(u"SELECT xingming, speed FROM tabCJ ORDER BY recno"_qs));
        QStringList stored;
        while (query.next())
            stored << query.value(0).toString() + u':' + query.value(1).toString();
        QCOMPARE(stored, rows);
    }

private:
    QString exchange(const QString &name) const
    {
        return m_root->filePath(u"exchange/"_qs + name);
    }

    void put(const QString &name, const QByteArray &plain)
    {
        QVERIFY(writeScrambled(exchange(name), plain));
    }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ResultStore> m_store;
    QByteArray m_undecodable;
};

QTEST_GUILESS_MAIN(TestCollector)
#include "tst_collector.moc"
