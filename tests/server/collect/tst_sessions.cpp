// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sessions judged per session across collections and console restarts: a
// finished result is never replaced, and a session whose records stopped
// ends as 中断; a retake shows its own state; each login numbered in the
// order seen. Real files, real SQLite.
#include "class/classtablemodel.h"
#include "class/liveclass.h"
#include "collect/resultcollector.h"
#include "collect/retake.h"
#include "exchange/identity.h"
#include "publish/examaspublished.h"
#include "exchange/resultfilename.h"
#include "exchange/retakeleave.h"
#include "testfiles.h"
#include "testrecords.h"
#include "exchange/transcode.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using Phase = ResultProgress::Phase;

class TestSessions : public QObject
{
    Q_OBJECT

private slots:
    void finishedResultStands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("row");  // speed:state of 丙's row after the last collection
        QTest::addColumn<QString>("doubt");  // a part of its doubts; empty: none
        QTest::newRow("a later login overwrites the finished file")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"s2 W 0"_qs } << u"70:已交卷"_qs
                << u"交卷后又登录考试1次，监考老师没有允许重考，成绩仍为交卷时的成绩"_qs;
        QTest::newRow("the same across a console restart")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"restart"_qs, u"s2 W 0"_qs }
                << u"70:已交卷"_qs << u"同一考生有2次登录考试的成绩文件"_qs;
        QTest::newRow("write-once: both files there")
                << QStringList { u"s1 F 70"_qs, u"s2 W 0 2"_qs } << u"70:已交卷"_qs
                << u"交卷后又登录考试1次"_qs;
        QTest::newRow("changed within its session")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"s1 F 80"_qs } << u"80:已交卷"_qs
                << u"交卷后成绩又被改动"_qs;
        // Its own earlier records uploaded again over the finished file.
        QTest::newRow("its waiting record replayed after the finish")
                << QStringList { u"s1 W 0"_qs, u"collect"_qs, u"s1 F 70"_qs, u"collect"_qs,
                                 u"s1 W 0"_qs }
                << u"70:已交卷"_qs << u"交卷后成绩又被改动"_qs;
        QTest::newRow("its finish replayed with other figures, same sequence")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"s1 F 90 1 replay"_qs }
                << u"70:已交卷"_qs << u"交卷后成绩又被改动"_qs;
        QTest::newRow("a new login after an unfinished one is no change")
                << QStringList { u"s1 T 30"_qs, u"collect"_qs, u"s2 F 40"_qs } << u"40:已交卷"_qs
                << u"同一考生有2次登录考试的成绩文件"_qs;
        QTest::newRow("one session, honest")
                << QStringList { u"s1 T 30"_qs, u"collect"_qs, u"s1 F 40"_qs } << u"40:已交卷"_qs
                << QString();
        QTest::newRow("a session left behind ends as 中断")
                << QStringList { u"s1 T 30"_qs, u"collect"_qs, u"an hour later"_qs }
                << u"30:中断"_qs << QString();
        QTest::newRow("waiting for Enter an hour is no 中断")
                << QStringList { u"s1 W 0"_qs, u"collect"_qs, u"an hour later"_qs }
                << u"0:未开始"_qs << QString();
        QTest::newRow("allowed a retake, not back yet: the set-aside figures")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"retake"_qs } << u"70:已交卷"_qs
                << u"重考前的成绩：速度70.00字/分钟"_qs;
        QTest::newRow("a retake under way")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"retake"_qs, u"s2 T 20"_qs }
                << u"20:答题中"_qs << QString();
        QTest::newRow("a retake handed in")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"retake"_qs,
                                 u"s2 T 20"_qs, u"collect"_qs, u"s2 F 50"_qs }
                << u"50:已交卷"_qs << QString();
        QTest::newRow("a hand-written leave, then a second finish")
                << QStringList { u"s1 F 70"_qs, u"collect"_qs, u"leave s1"_qs, u"s2 F 90"_qs }
                << u"70:已交卷"_qs << u"交卷后又登录考试1次，监考老师没有允许重考"_qs;
        // Published again with the last exam's files kept: its finished
        // result stands for nothing of the new exam.
        const QStringList oldExam { u"publish p1"_qs, u"s1 F 70"_qs, u"collect"_qs };
        const QString republished = u"publish p2"_qs;
        QTest::newRow("old exam finished, new one not started")
                << oldExam + QStringList { republished, u"s2 W 0"_qs } << u"0:未开始"_qs
                << QString();
        QTest::newRow("old exam finished, new one typing after a restart")
                << oldExam + QStringList { u"restart"_qs, republished, u"s2 T 20"_qs }
                << u"20:答题中"_qs << QString();
        QTest::newRow("old exam finished, new one finished")
                << oldExam + QStringList { republished, u"s2 F 50"_qs } << u"50:已交卷"_qs
                << QString();
        QTest::newRow("old exam's file only: no row of the new exam")
                << oldExam + QStringList { republished } << QString() << QString();
        QTest::newRow("one publication: the finished result still stands")
                << oldExam + QStringList { u"s2 W 0"_qs } << u"70:已交卷"_qs
                << u"交卷后又登录考试1次"_qs;
    }

    void finishedResultStands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, row);
        QFETCH(QString, doubt);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"exchange"_qs) && QDir(root.path()).mkpath(u"app"_qs));
        const QString exchange = root.filePath(u"exchange"_qs);
        auto store = std::make_unique<ResultStore>(root.filePath(u"app/cj.mdb"_qs));
        CollectionReport report;
        Publication published;  // what the console published last; records name it
        const auto collect = [&] {
            report = ResultCollector(exchange, root.filePath(u"app"_qs), *store).collect();
            QVERIFY2(report.ok(), qPrintable(report.problem));
        };
        for (const QString &step : steps) {
            const QStringList word = step.split(u' ');
            if (step == u"collect") {
                collect();
            } else if (step == u"retake") {
                QCOMPARE(Retake(*store, exchange, root.filePath(u"app"_qs))
                                 .allow(u"一班"_qs, u"01"_qs, u"丙"_qs),
                         QString());
            } else if (word[0] == u"leave") {
                QVERIFY(writeFile(QDir(exchange).filePath(u"一班-01-丙.retake"_qs),
                                  transcodeBytes(retakeleave::write(word[1]), kExchangeKey)));
            } else if (step == u"restart") {
                store = std::make_unique<ResultStore>(root.filePath(u"app/cj.mdb"_qs));
            } else if (word[0] == u"publish") {
                published.id = word[1];
                const auto exam = ExamAsPublished::of(10, "ab\r\n", published);
                QVERIFY(exam);
                QCOMPARE(exam->save(root.filePath(u"app/fb.txt"_qs)), QString());
                // Its sessions claim more time than the test takes.
                QVERIFY(backdate(root.filePath(u"app/fb.txt"_qs), 3600));
            } else if (step == u"an hour later") {
                QVERIFY(QSqlQuery(store->database())
                                .exec(u"UPDATE tabSessions SET changed = changed - 3600000"_qs));
            } else {
                // 880 typed in 600 seconds, with its answer sheet: an honest client's.
                ResultRecord record =
                        sampleRecord(u"一班"_qs, u"01"_qs, u"丙"_qs, word[2].toFloat(), 98, 600);
                record.answerSheet = AnswerSheet { "d", 10, 0, QString() };
                const Phase phase = word[1] == u"F" ? Phase::Finished
                        : word[1] == u"T"           ? Phase::Typing
                                                    : Phase::Waiting;
                // A step written again is the same record again; a replay
                // takes the sequence number of the session's first step.
                const int sequence = word.value(4) == u"replay"
                        ? int(steps.indexOf(QRegularExpression(u"^"_qs + word[0] + u' '))) + 1
                        : int(steps.indexOf(step)) + 1;
                record.progress = ResultProgress { sequence, word[0], phase, 880 };
                if (!published.id.isEmpty())
                    record.sections.push_back(published.section());
                QVERIFY(!writeResultFile(exchange, record, word.value(3, u"1"_qs).toInt())
                                 .isEmpty());
            }
        }
        collect();
        LiveClass live;
        live.update(report.results, { 600, std::nullopt, false }, report.kept, report.sessions);
        QCOMPARE(live.rows().size(), row.isEmpty() ? 0 : 1);
        if (row.isEmpty()) {
            // It stays in the folder, and the examiner is told why it is not counted.
            QCOMPARE(report.notes.size(), 1);
            QVERIFY2(report.notes.first().contains(u"1份以前发布的考试的成绩"_qs),
                     qPrintable(report.notes.first()));
            return;
        }
        // The examiner's leave stays; one written by hand goes.
        QCOMPARE(QDir(exchange).entryList({ u"*.retake"_qs }),
                 steps.contains(u"retake"_qs) ? QStringList { u"一班-01-丙.retake"_qs }
                                              : QStringList());
        const ClassViewRow &shown = live.rows().first();
        QCOMPARE(QString::number(shown.speed) + u':' + stateText(shown.state), row);
        const QString doubts = shown.doubts.join(u'；');
        QVERIFY2(doubt.isEmpty() ? doubts.isEmpty() : doubts.contains(doubt), qPrintable(doubts));
        // The grid says what it shows; the set-aside result stays in the tooltip.
        ClassTableModel grid;
        grid.setRows(live.rows());
        QCOMPARE(grid.index(0, ClassTableModel::State).data().toString(),
                 doubt.isEmpty() ? stateText(shown.state) : u"存疑"_qs);
        if (steps.contains(u"retake"_qs))
            QVERIFY(grid.index(0, ClassTableModel::State)
                            .data(Qt::ToolTipRole)
                            .toString()
                            .contains(u"重考前的成绩：速度70.00字/分钟"_qs));
    }

    // A classmate hands in as 朱十 typed in full-width forms; the real 朱十
    // types "A18" as the list spells it. Rows: number:speed:counted:doubts.
    void otherSpellingTakesNoPlace_data()
    {
        QTest::addColumn<QStringList>("handedIn");  // exam number and speed, in turn
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QStringList>("rows");  // in rank order
        const QStringList both { u"Ａ１８ 18"_qs, u"A18 80"_qs };
        QTest::newRow("beside the real one, with the list")
                << both << true
                << QStringList { u"A18:80:1:"_qs,
                                 u"Ａ１８:18:0:写法与名单不同，名单写法（一班 A18 朱十）另有成绩，"
                                 "这一行不是该考生本人的，不计入"_qs };
        QTest::newRow("alone, with the list: the examinee typing in full width")
                << QStringList { u"Ａ１８ 18"_qs } << true << QStringList { u"A18:18:1:"_qs };
        QTest::newRow("beside the real one, without a list")
                << both << false
                << QStringList { u"A18:80:1:同一考生另有写法不同的成绩：一班 Ａ１８ 朱十"_qs,
                                 u"Ａ１８:18:1:同一考生另有写法不同的成绩：一班 A18 朱十"_qs };
    }

    void otherSpellingTakesNoPlace()
    {
        QFETCH(QStringList, handedIn);
        QFETCH(bool, listed);
        QFETCH(QStringList, rows);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"exchange"_qs) && QDir(root.path()).mkpath(u"app"_qs));
        ResultStore store(root.filePath(u"app/cj.mdb"_qs));
        ResultCollector collector(root.filePath(u"exchange"_qs), root.filePath(u"app"_qs), store);
        CollectionReport report;
        for (const QString &one : handedIn) {
            const QStringList word = one.split(u' ');
            ResultRecord record =
                    sampleRecord(u"一班"_qs, word[0], u"朱十"_qs, word[1].toFloat(), 98, 600);
            record.answerSheet = AnswerSheet { "d", 10, 0, QString() };
            record.progress = ResultProgress { 3, word[0], Phase::Finished, 880 };
            QVERIFY(!writeResultFile(root.filePath(u"exchange"_qs), record).isEmpty());
            report = collector.collect();
            QVERIFY2(report.ok(), qPrintable(report.problem));
        }
        LiveClass live;
        if (listed)
            live.setRoster(ClassRoster::fromRows({ { u"部门"_qs, u"考号"_qs, u"姓名"_qs },
                                                   { u"一班"_qs, u"A18"_qs, u"朱十"_qs } })
                                   .roster);
        live.update(report.results, { 600, std::nullopt, false }, report.kept, report.sessions);
        QStringList shown;
        for (const ClassViewRow &row : live.rows())
            shown << u"%1:%2:%3:%4"_qs.arg(row.examNumber)
                             .arg(row.speed)
                             .arg(int(row.counted))
                             .arg(row.doubts.join(u'；'));
        QCOMPARE(shown, rows);
        QCOMPARE(live.counts().finished, 1);
    }

    void retakeSetsAsideEverySpelling()
    {
#ifndef Q_OS_UNIX
        QSKIP("file names that differ by case alone are one file here");
#endif
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"exchange"_qs) && QDir(root.path()).mkpath(u"app"_qs));
        const QString exchange = root.filePath(u"exchange"_qs);
        ResultStore store(root.filePath(u"app/cj.mdb"_qs));
        const auto finished = [&](const QString &number, const QString &session, float speed) {
            ResultRecord record = sampleRecord(u"一班"_qs, number, u"张三"_qs, speed, 98, 600);
            record.progress = ResultProgress { 3, session, Phase::Finished, 880 };
            record.answerSheet = AnswerSheet { "d", 10, 0, QString() };
            return !writeResultFile(exchange, record).isEmpty();
        };
        QVERIFY(finished(u"a01"_qs, u"s1"_qs, 72));
        QVERIFY(finished(u"A01"_qs, u"s2"_qs, 144));
        QVERIFY(writeResultFile(exchange, sampleRecord(u"一班"_qs, u"02"_qs, u"李四"_qs)).size());
        QVERIFY(ResultCollector(exchange, root.filePath(u"app"_qs), store).collect().ok());
        QCOMPARE(Retake(store, exchange, root.filePath(u"app"_qs))
                         .allow(u"一班"_qs, u"a01"_qs, u"张三"_qs),
                 QString());
        // Both spellings' files went, each leaving a leave; the classmate's stayed.
        QCOMPARE(QDir(exchange).entryList({ u"*.zip"_qs }, QDir::Files),
                 QStringList { u"一班-02-李四.zip"_qs });
        QStringList leaves = QDir(exchange).entryList({ u"*.retake"_qs }, QDir::Files);
        leaves.sort();
        QCOMPARE(leaves, (QStringList { u"一班-A01-张三.retake"_qs, u"一班-a01-张三.retake"_qs }));
        const CollectionReport report =
                ResultCollector(exchange, root.filePath(u"app"_qs), store).collect();
        QVERIFY(report.ok());
        QCOMPARE(report.sessions.size(), 2);
        for (const SessionEntry &entry : report.sessions)
            QVERIFY2(entry.setAside, qPrintable(entry.sessionId));
        // The retake is the person's next session, whichever spelling.
        QVERIFY(finished(u"A01"_qs, u"s3"_qs, 60));
        const SessionLedger ledger(
                ResultCollector(exchange, root.filePath(u"app"_qs), store).collect().sessions);
        const QString person = identity::personKey(u"一班"_qs, u"a01"_qs, u"张三"_qs);
        QVERIFY(ledger.standingResult(person));
        QCOMPARE(ledger.standingResult(person)->sessionId, u"s3"_qs);
    }

    void stoppedSessionEndsInterrupted_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<int>("timePass");  // of its last record
        QTest::addColumn<int>("silent");  // seconds since its records last changed
        QTest::addColumn<bool>("interrupted");  // in a 10-minute exam
        QTest::newRow("typing, exam over") << int(Phase::Typing) << 60 << 551 << true;
        QTest::newRow("near the end, records still due")
                << int(Phase::Typing) << 590 << 120 << false;
        QTest::newRow("near the end, records stopped") << int(Phase::Typing) << 590 << 131 << true;
        // Waiting for Enter is no stop, however long.
        QTest::newRow("never started, exam over") << int(Phase::Waiting) << 0 << 611 << false;
        QTest::newRow("finished long ago") << int(Phase::Finished) << 300 << 9000 << false;
    }

    void stoppedSessionEndsInterrupted()
    {
        QFETCH(int, phase);
        QFETCH(int, timePass);
        QFETCH(int, silent);
        QFETCH(bool, interrupted);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        SessionEntry entry;
        entry.phase = Phase(phase);
        entry.timePass = qint16(timePass);
        entry.lastChange = now.addSecs(-silent);
        QCOMPARE(SessionLedger::interrupted(entry, 600, now), interrupted);
    }

    void loginsAreNumberedInTheOrderSeen_data()
    {
        QTest::addColumn<QString>("person");
        QTest::addColumn<QString>("session");
        QTest::addColumn<int>("ordinal");
        QTest::newRow("first login") << u"a"_qs << u"s1"_qs << 1;
        QTest::newRow("a login set aside still counts") << u"a"_qs << u"s3"_qs << 2;
        QTest::newRow("third login") << u"a"_qs << u"s4"_qs << 3;
        QTest::newRow("another examinee's first") << u"b"_qs << u"s2"_qs << 1;
        QTest::newRow("not seen") << u"a"_qs << u"s2"_qs << 0;
    }

    void loginsAreNumberedInTheOrderSeen()
    {
        QFETCH(QString, person);
        QFETCH(QString, session);
        QFETCH(int, ordinal);
        QVector<SessionEntry> entries(4);
        const QString seen[][2] = { { u"a"_qs, u"s1"_qs },
                                    { u"b"_qs, u"s2"_qs },
                                    { u"a"_qs, u"s3"_qs },
                                    { u"a"_qs, u"s4"_qs } };
        for (int i = 0; i < entries.size(); ++i) {
            entries[i].person = seen[i][0];
            entries[i].sessionId = seen[i][1];
        }
        entries[2].setAside = true;
        QCOMPARE(SessionLedger(entries).loginOrdinal(person, session), ordinal);
    }
};

QTEST_MAIN(TestSessions)
#include "tst_sessions.moc"
