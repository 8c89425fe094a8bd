// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Which earlier record a login may trust: a finished one refuses, an
// unfinished one of this examinee and exam is offered, anything damaged or
// foreign is passed over with a note.
#include "testrecords.h"
#include "exchange/transcode.h"
#include "transfer/priorrecords.h"

#include <QtTest>

using Phase = ResultProgress::Phase;
using Verdict = PriorRecords::Verdict;

namespace {

QByteArray scrambled(Phase phase, const QString &session = u"s1"_qs, const QString &name = u"甲"_qs,
                     const QByteArray &digest = "d1", qint16 seconds = 95)
{
    ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, name, 40, 98, seconds);
    record.progress = ResultProgress { 3, session, phase, 12 };
    record.answerSheet = AnswerSheet { digest, 5, 0, u"春天\r\n来了"_qs };
    return transcodeBytes(record.toRecordLines(), kExchangeKey);
}

}  // namespace

class TestPriorRecords : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data()
    {
        QTest::addColumn<QVector<QByteArray>>("records");
        QTest::addColumn<QString>("leave");  // the session a retake set aside
        QTest::addColumn<int>("verdict");
        QTest::addColumn<bool>("noted");
        const QByteArray typing = scrambled(Phase::Typing);
        const QByteArray finished = scrambled(Phase::Finished);
        QTest::newRow("nothing") << QVector<QByteArray> {} << QString() << int(Verdict::Fresh)
                                 << false;
        QTest::newRow("unfinished")
                << QVector<QByteArray> { typing } << QString() << int(Verdict::Resume) << false;
        QTest::newRow("finished after typing") << QVector<QByteArray> { typing, finished }
                                               << QString() << int(Verdict::Finished) << false;
        QTest::newRow("finished, retake allowed") << QVector<QByteArray> { typing, finished }
                                                  << u"s1"_qs << int(Verdict::Fresh) << false;
        QTest::newRow("the retake's own crash")
                << QVector<QByteArray> { finished, scrambled(Phase::Typing, u"s2"_qs) } << u"s1"_qs
                << int(Verdict::Resume) << false;
        QTest::newRow("a leave for another session")
                << QVector<QByteArray> { finished } << u"s9"_qs << int(Verdict::Finished) << false;
        QTest::newRow("never started") << QVector<QByteArray> { scrambled(Phase::Waiting) }
                                       << QString() << int(Verdict::Fresh) << false;
        QTest::newRow("another examinee")
                << QVector<QByteArray> { scrambled(Phase::Finished, u"s1"_qs, u"乙"_qs) }
                << QString() << int(Verdict::Fresh) << false;
        QTest::newRow("another exam")
                << QVector<QByteArray> { scrambled(Phase::Typing, u"s1"_qs, u"甲"_qs, "d2") }
                << QString() << int(Verdict::Fresh) << false;
        QTest::newRow("time beyond the exam")
                << QVector<QByteArray> { scrambled(Phase::Typing, u"s1"_qs, u"甲"_qs, "d1", 301) }
                << QString() << int(Verdict::Fresh) << true;
        QTest::newRow("damaged") << QVector<QByteArray> { typing.left(typing.size() / 2) }
                                 << QString() << int(Verdict::Fresh) << true;
        QTest::newRow("noise") << QVector<QByteArray> { QByteArray(5000, '\x7f') } << QString()
                               << int(Verdict::Fresh) << true;
    }

    void verdict()
    {
        QFETCH(QVector<QByteArray>, records);
        QFETCH(QString, leave);
        QFETCH(int, verdict);
        QFETCH(bool, noted);
        PriorRecords prior({ u"x"_qs, u"一班"_qs, u"０１"_qs, u"甲 "_qs, 5, {}, {}, {} }, "d1", 5);
        for (const QByteArray &record : records)
            prior.take(record, u"本机的续考记录"_qs);
        const PriorRecords::Outcome outcome = prior.outcome(leave);
        QCOMPARE(int(outcome.verdict), verdict);
        QCOMPARE(outcome.resumeFrom.has_value(), verdict == int(Verdict::Resume));
        QCOMPARE(prior.noteLine().startsWith(u"已忽略无法使用的考试记录：本机的续考记录"_qs),
                 noted);
        if (outcome.resumeFrom)
            QCOMPARE(
                    PriorRecords::resumeQuestion(*outcome.resumeFrom),
                    u"检测到未完成的考试（已用时 1 分 35 秒，已打 4 字），是否继续？\n选“否”将重新开始一次考试，之前那次考试的记录仍会保留，并标明给监考老师。"_qs);
    }

    void onlyThisPublicationCounts_data()
    {
        QTest::addColumn<QString>("recordPublication");  // empty: the record names none
        QTest::addColumn<QString>("examPublication");  // empty: pb.txt was not published
        QTest::addColumn<int>("verdict");
        const QString earlier = u"0123456789abcdef0123456789abcdef"_qs;
        const QString current = u"fedcba9876543210fedcba9876543210"_qs;
        QTest::newRow("neither names one") << QString() << QString() << int(Verdict::Finished);
        QTest::newRow("the same publication") << current << current << int(Verdict::Finished);
        // The same text and time published again: the earlier finish locks nobody out.
        QTest::newRow("an earlier publication") << earlier << current << int(Verdict::Fresh);
        QTest::newRow("a record naming none") << QString() << current << int(Verdict::Fresh);
        QTest::newRow("an exam without one") << earlier << QString() << int(Verdict::Fresh);
    }

    void onlyThisPublicationCounts()
    {
        QFETCH(QString, recordPublication);
        QFETCH(QString, examPublication);
        QFETCH(int, verdict);
        ResultRecord record = sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs, 40, 98, 95);
        record.progress = ResultProgress { 3, u"s1"_qs, Phase::Finished, 12 };
        record.answerSheet = AnswerSheet { "d1", 5, 0, u"春天\r\n来了"_qs };
        if (!recordPublication.isEmpty())
            record.sections.push_back(Publication { recordPublication, false }.section());
        Examinee examinee { u"x"_qs, u"一班"_qs, u"01"_qs, u"甲"_qs, 5, {}, {}, {} };
        examinee.publication.id = examPublication;
        PriorRecords prior(examinee, "d1", 5);
        prior.take(transcodeBytes(record.toRecordLines(), kExchangeKey), u"本机的续考记录"_qs);
        QCOMPARE(int(prior.outcome().verdict), verdict);
    }
};

QTEST_MAIN(TestPriorRecords)
#include "tst_priorrecords.moc"
