// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The record path without a window: each record is stamped once, and the
// upload and the checkpoint carry the same stamp, on in a resumed session.
#include "exam/examrecords.h"
#include "ftpservice.h"
#include "testrecords.h"
#include "writtencheckpoint.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWaitMillis = 20000;

ResultProgress stampOf(const std::optional<ResultRecord> &record)
{
    return record && record->progress
            ? *record->progress
            : ResultProgress { -1, QString(), ResultProgress::Phase::Waiting, 0 };
}

// The record in the checkpoint of the working folder.
std::optional<ResultRecord> keptRecord(ExamRecords &records, const QString &folder)
{
    return writtenCheckpoint(records.writer(), folder).record;
}

// One exam session's records, "abc" typed of "abcdef".
struct RecordPath
{
    ExamClock clock;
    ExamSession exam;
    ExamRecords records;

    RecordPath(const Examinee &who, const QString &folder)
        : clock(who.examMinutes),
          exam(clock, who),
          records(clock, exam, folder, [] { return u"abc"_qs; })
    {
        exam.setExamText(u"abcdef\r\n"_qs, "d1");
    }
};

}  // namespace

class TestExamRecords : public QObject
{
    Q_OBJECT

private slots:
    void recordsAreStampedOnce_data()
    {
        QTest::addColumn<QString>("resumedSession");  // empty: a new session
        QTest::addColumn<int>("resumedSequence");
        QTest::newRow("new session") << QString() << 0;
        QTest::newRow("resumed after record 7") << u"0123456789abcdef"_qs << 7;
        QTest::newRow("resumed after record 1") << u"s-earlier"_qs << 1;
    }
    void recordsAreStampedOnce()
    {
        QFETCH(QString, resumedSession);
        QFETCH(int, resumedSequence);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        RecordPath path(who, work.path());
        ExamRecords &records = path.records;
        if (!resumedSession.isEmpty()) {
            ResultRecord earlier =
                    sampleRecord(who.department, who.examNumber, who.name, 30, 90, 60);
            earlier.progress = ResultProgress { resumedSequence, resumedSession,
                                                ResultProgress::Phase::Typing, 3 };
            earlier.answerSheet = AnswerSheet { "d1", 10, 0, u"abc"_qs };
            records.resumeFrom(ResumePoint { earlier, 1 });
        }
        const QString session = resumedSession.isEmpty() ? records.sessionId() : resumedSession;
        QCOMPARE(session.isEmpty(), false);

        for (int sent = 1; sent <= 2; ++sent) {
            records.send(ResultProgress::Phase::Typing);
            QTRY_COMPARE_WITH_TIMEOUT(records.upload().state(), ResultUpload::State::Delivered,
                                      kWaitMillis);
            const ResultProgress uploaded = stampOf(
                    readResultFile(QDir(service.folder()).filePath(resultFileName(who))).record);
            const ResultProgress kept = stampOf(keptRecord(records, work.path()));
            QCOMPARE(uploaded.sequence, resumedSequence + sent);
            QCOMPARE(uploaded.sessionId, session);
            QCOMPARE(kept.sequence, uploaded.sequence);
            QCOMPARE(kept.sessionId, session);
        }
    }

    // A resumed session goes on with its checkpoint's timeline only when
    // that leads to the resumed text; counts go on as counts.
    void timelineContinuesAfterResume_data()
    {
        QTest::addColumn<QByteArray>("section");  // empty: none in the record
        QTest::addColumn<bool>("continued");
        using Source = TimelineEdit::Source;
        KeyTimeline typed;
        typed.keys = { { 100, false }, { 300, false } };
        typed.edits = { { 100, 0, 0, u"ab"_qs, Source::Keys },
                        { 300, 2, 0, u"c"_qs, Source::Keys } };
        QTest::newRow("whole, giving abc") << keytimeline::encode(typed) << true;
        typed.edits.pop_back();
        QTest::newRow("whole, giving ab") << keytimeline::encode(typed) << false;
        QTest::newRow("coarse") << keytimeline::encode(keytimeline::coarsened(typed, 1)) << true;
        QTest::newRow("damaged") << QByteArray("xxxx") << false;
        QTest::newRow("none, an older client") << QByteArray() << false;
    }
    void timelineContinuesAfterResume()
    {
        QFETCH(QByteArray, section);
        QFETCH(bool, continued);
        QTemporaryDir work;
        const Examinee who { u"127.0.0.1"_qs, u"系"_qs, u"01"_qs, u"张三"_qs, 10 };
        RecordPath path(who, work.path());
        ResultRecord earlier = sampleRecord(who.department, who.examNumber, who.name, 30, 90, 60);
        earlier.progress = ResultProgress { 3, u"s1"_qs, ResultProgress::Phase::Typing, 3 };
        earlier.answerSheet = AnswerSheet { "d1", 10, 0, u"abc"_qs };
        if (!section.isEmpty())
            earlier.sections.push_back({ keytimeline::kSectionName.toString(), section });
        path.records.resumeFrom(ResumePoint { earlier, 1 });
        const auto carried =
                keytimeline::decode(path.records.timeline().sectionInBackground().result().bytes)
                        .timeline;
        QVERIFY(carried);
        const auto before = keytimeline::decode(section).timeline;
        QCOMPARE(continued ? before == carried : *carried == KeyTimeline {}, true);
    }

    void checkpointFollowsTheClockWhileTyping_data()
    {
        QTest::addColumn<int>("ticks");  // seconds since the start
        QTest::addColumn<int>("keptSeconds");
        QTest::addColumn<ResultProgress::Phase>("keptPhase");
        QTest::newRow("4 s: the start-up record") << 4 << 0 << ResultProgress::Phase::Waiting;
        QTest::newRow("5 s") << 5 << 5 << ResultProgress::Phase::Typing;
        QTest::newRow("9 s") << 9 << 5 << ResultProgress::Phase::Typing;
        QTest::newRow("10 s") << 10 << 10 << ResultProgress::Phase::Typing;
    }
    void checkpointFollowsTheClockWhileTyping()
    {
        QFETCH(int, ticks);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        RecordPath path({ service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} },
                        work.path());
        path.exam.begin();
        QTRY_COMPARE_WITH_TIMEOUT(path.records.upload().state(), ResultUpload::State::Delivered,
                                  kWaitMillis);
        path.exam.pressEnter();
        for (int tick = 0; tick < ticks; ++tick)
            path.clock.tick();
        // The timeline is encoded on a worker: the checkpoint follows soon.
        QFETCH(int, keptSeconds);
        QTRY_COMPARE(int(keptRecord(path.records, work.path()).value_or(ResultRecord {}).timePass),
                     keptSeconds);
        const std::optional<ResultRecord> kept = keptRecord(path.records, work.path());
        QVERIFY(kept);
        QTEST(stampOf(kept).phase, "keptPhase");
        // Between records the checkpoint carries the number of the last one sent.
        QCOMPARE(stampOf(kept).sequence, 1);
        QCOMPARE(kept->answerSheet->typedText, u"abc"_qs);
    }

    // The exam ends while the record or checkpoint before it waits for its
    // timeline: the session leaves only once the final record, with the
    // whole timeline, has arrived, and each record went once, in order.
    void examEndsWhileATimelineIsEncoded_data()
    {
        QTest::addColumn<bool>("deliveredAt30");  // the progress record of 30 s arrived first
        QTest::addColumn<int>("endAt");  // seconds; 60 is the time up
        QTest::addColumn<int>("finalSequence");
        QTest::newRow("ended at 30 s, its progress record encoding") << false << 30 << 3;
        QTest::newRow("ended at 35 s, its checkpoint encoding") << true << 35 << 3;
        QTest::newRow("time up, the progress record of 30 s encoding") << false << 60 << 3;
        QTest::newRow("time up after the progress record arrived") << true << 60 << 3;
    }
    void examEndsWhileATimelineIsEncoded()
    {
        QFETCH(bool, deliveredAt30);
        QFETCH(int, endAt);
        FtpService service;
        QVERIFY(service.start());
        QTemporaryDir work;
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 1, {}, {}, {} };
        RecordPath path(who, work.path());
        std::optional<ResultRecord> arrivedAtLeaving;
        connect(&path.exam, &ExamSession::phaseChanged, this, [&](ExamSession::Phase phase) {
            if (phase == ExamSession::Phase::Left)
                arrivedAtLeaving =
                        readResultFile(QDir(service.folder()).filePath(resultFileName(who))).record;
        });
        path.exam.begin();
        QTRY_COMPARE_WITH_TIMEOUT(path.records.upload().state(), ResultUpload::State::Delivered,
                                  kWaitMillis);
        path.exam.pressEnter();
        TimelineRecorder &timeline = path.records.timeline();
        timeline.keyPressed(false);
        timeline.textChanged(0, 0, u"abc"_qs, TimelineEdit::Source::Keys);
        for (int second = 0; second < 30; ++second)
            path.clock.tick();
        if (deliveredAt30)
            QTRY_COMPARE_WITH_TIMEOUT(path.records.upload().state(), ResultUpload::State::Delivered,
                                      kWaitMillis);
        // Only the final record holds this edit.
        timeline.textChanged(3, 0, u"d"_qs, TimelineEdit::Source::Keys);
        for (int second = 30; second < endAt; ++second)
            path.clock.tick();
        path.exam.answer(ExamSession::Question::EndExam, true);

        QTRY_COMPARE_WITH_TIMEOUT(path.exam.phase(), ExamSession::Phase::Left, kWaitMillis);
        QVERIFY(arrivedAtLeaving);
        QCOMPARE(stampOf(arrivedAtLeaving).phase, ResultProgress::Phase::Finished);
        QTEST(stampOf(arrivedAtLeaving).sequence, "finalSequence");
        const RecordSection *section =
                findSection(arrivedAtLeaving->sections, keytimeline::kSectionName);
        QVERIFY(section);
        QCOMPARE(keytimeline::decode(section->bytes).timeline, timeline.timeline());
        QTEST(stampOf(keptRecord(path.records, work.path())).sequence, "finalSequence");
    }

    void onlyAFailedRecordIsResent_data()
    {
        QTest::addColumn<bool>("serviceUp");
        QTest::addColumn<int>("sequenceKept");  // in sc1.zip after resend()
        QTest::newRow("failed: resent under the next number") << false << 2;
        QTest::newRow("delivered: not resent") << true << 1;
    }
    void onlyAFailedRecordIsResent()
    {
        QFETCH(bool, serviceUp);
        FtpService service;
        QVERIFY(service.start());
        const Examinee who { service.address(), u"系"_qs, u"01"_qs, u"张三"_qs, 10, {}, {}, {} };
        if (!serviceUp)
            service.stop();
        QTemporaryDir work;
        RecordPath path(who, work.path());
        ExamRecords &records = path.records;
        records.upload().setAttempts(1);
        records.send(ResultProgress::Phase::Finished);
        QTRY_VERIFY_WITH_TIMEOUT(records.upload().state() != ResultUpload::State::Uploading,
                                 kWaitMillis);
        QCOMPARE(records.upload().state(),
                 serviceUp ? ResultUpload::State::Delivered : ResultUpload::State::Failed);
        records.resend();
        const ResultProgress local =
                stampOf(readResultFile(QDir(work.path()).filePath(u"sc1.zip"_qs)).record);
        QTEST(local.sequence, "sequenceKept");
        QCOMPARE(local.sessionId, records.sessionId());
        QCOMPARE(local.phase, ResultProgress::Phase::Finished);
    }
};

QTEST_GUILESS_MAIN(TestExamRecords)
#include "tst_examrecords.moc"
