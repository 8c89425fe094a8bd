// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A school server that hangs, locks a table or stops after the first
// read: the next read fails saying why, the one after it answers again.
// One that restarts is not told: the read is asked again and answers.
#include "historyanswers.h"
#include "keptexams.h"
#include "postgrescluster.h"

#include "archive/examlisting.h"
#include "control/schoolreader.h"

#include <QtTest>

using console::SchoolReader;

class TestSchoolReader : public QObject
{
    Q_OBJECT

private slots:
    void failsThenAnswersAgain_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("cause");  // the first line told; empty: none
        const QString lost =
                u"无法读取考试存档 %1：与服务器的连接断开了（服务器重启、停止或网络中断），"
                u"下次使用时重新连接。"_qs;
        QTest::newRow("hung") << u"hung"_qs << lost;
        // Refused as it is prepared: the lock timeout's own words.
        QTest::newRow("locked") << u"locked"_qs
                                << u"无法读取考试存档 %1：数据表正被别的程序锁住，请稍后再试。"_qs;
        QTest::newRow("restarted") << u"restarted"_qs << QString();
        QTest::newRow("stopped")
                << u"stopped"_qs
                << u"学校存档 %1 无法连接（服务器没有开启、地址不对或网络不通）。"_qs;
    }

    void failsThenAnswersAgain()
    {
#ifndef Q_OS_UNIX
        QSKIP("The test broker's server cannot be stopped where it stands.");
#else
        QFETCH(QString, fault);
        QFETCH(QString, cause);
        PostgresCluster cluster;
        QVERIFY2(cluster.problem().isEmpty(), qPrintable(cluster.problem()));
        const QString uri = cluster.newDatabase();
        {
            ExamArchive school(ArchivePlace::fromText(uri));
            QCOMPARE(fillArchive(school, 2, 3), QString());
        }
        SchoolReader reader;
        // Past the lock timeout: a lock held is said as such.
        reader.setStallMillis(ArchivePlace::kLockMillis + 2000);
        reader.setPlace(uri);
        const auto listed = [&reader] {
            return answerOf<ArchiveRead<ListedExams>>([&](QObject *context, auto done) {
                reader.run<ArchiveRead<ListedExams>>(
                        [](ExamArchive &archive) { return ExamListing(archive).exams({}); },
                        context, done);
            });
        };
        QCOMPARE(listed().value->exams.size(), 2);  // the connection is open

        if (fault == u"hung") {
            QCOMPARE(cluster.pause(), QString());
        } else if (fault == u"locked") {
            QCOMPARE(cluster.lockTable(uri.section(u'/', -1), u"exams"_qs), QString());
        } else {
            QCOMPARE(cluster.stop(), QString());
            if (fault == u"restarted")
                QCOMPARE(cluster.start(), QString());
        }
        if (!cause.isEmpty()) {
            const ArchiveRead<ListedExams> failed = listed();
            QVERIFY(!failed.value);
            // The cause, then what libpq said.
            QCOMPARE(failed.problem.section(u'\n', 0, 0), cause.arg(uri));
        }

        QCOMPARE(cluster.resume(), QString());
        cluster.unlock();
        if (fault == u"stopped")
            QCOMPARE(cluster.start(), QString());
        const ArchiveRead<ListedExams> again = listed();
        QVERIFY2(again.value, qPrintable(again.problem));
        QCOMPARE(again.value->exams.size(), 2);
#endif
    }
};

QTEST_MAIN(TestSchoolReader)
#include "tst_schoolreader.moc"
