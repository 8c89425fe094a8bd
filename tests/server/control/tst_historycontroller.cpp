// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping and showing past exams over a real console and archive: the exam
// in the results table as it would be kept, keeping it once, and the
// commands on a kept exam, each refused first and then carried out.
#include "consoleroom.h"
#include "testrecords.h"

#include "control/consolecontroller.h"

#include <QtTest>

using console::ConsoleController;
using console::HistoryController;

class TestHistoryController : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_room = std::make_unique<ConsoleRoom>();
        writeFile(m_room->app(u"time.txt"_qs), "25\r\n");
        m_console = std::make_unique<ConsoleController>(m_room->folders());
    }

    void cleanup()
    {
        m_console.reset();
        m_room.reset();
    }

    void keepsTheExamUnderWayOnce()
    {
        HistoryController &history = m_console->history();
        QCOMPARE(history.keepCurrentExam(), QString());  // an empty table keeps nothing
        QCOMPARE(history.exams().value->size(), 0);

        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"1"_qs, u"慢"_qs, 20));
        writeResultFile(m_room->exchangeFolder,
                        sampleRecord(u"a"_qs, u"2"_qs, u"未开始"_qs, 0, 0, 0));
        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"3"_qs, u"快"_qs, 70));
        QCOMPARE(m_console->collectResults(), QString());
        QCOMPARE(m_console->settings().saveGradingScale(oneGrade()), QString());
        const auto current = history.currentExam();
        QVERIFY(current.value);
        QStringList ranked;
        for (const ArchivedRow &row : current.value->rows)
            ranked << row.name + u'/' + row.state;
        QCOMPARE(ranked, (QStringList { u"快/已交卷"_qs, u"慢/已交卷"_qs, u"未开始/未开始"_qs }));
        QCOMPARE(current.value->sitting.examMinutes, 25);  // nothing published: time.txt's
        QCOMPARE(current.value->sitting.scale.grades().size(), 1);  // the scale in force

        QCOMPARE(history.keepCurrentExam(), QString());
        QCOMPARE(history.keepCurrentExam(), QString());
        QCOMPARE(history.exams().value->size(), 1);
    }

    void commandsOnAKeptExam_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("regrade") << u"regrade"_qs;
        QTest::newRow("remove") << u"remove"_qs;
    }

    void commandsOnAKeptExam()
    {
        QFETCH(QString, command);
        const qint64 id = keepOne();
        QCOMPARE(m_console->settings().saveGradingScale(oneGrade()), QString());
        HistoryController &history = m_console->history();
        const auto run = [&](qint64 target) {
            return command == u"regrade"_qs ? history.regrade(target) : history.remove(target);
        };
        QCOMPARE(run(id + 1), u"考试存档中没有这场考试。"_qs);
        QCOMPARE(run(id), QString());
        if (command == u"regrade"_qs)
            QCOMPARE(history.exam(id).value->sitting.scale, oneGrade());
        else
            QCOMPARE(history.exams().value->size(), 0);
    }

    void readsTheExamsOfATerm()
    {
        HistoryController &history = m_console->history();
        const qint64 id = keepOne();
        int read = 0;
        const auto counting = [&](int done) { return (read = done) < 2; };
        QCOMPARE(history.termExams({ id + 1, id }, {}, counting).problem,
                 u"考试存档中没有这场考试。"_qs);
        const auto ofClassB = history.termExams({ id }, u"b"_qs, counting).value;
        QVERIFY(ofClassB && ofClassB->first().rows.isEmpty());
        QCOMPARE(history.termExams({ id }, u"a"_qs, counting).value->first().rows.size(), 1);
        const auto stopped = history.termExams({ id, id, id }, {}, counting);
        QVERIFY(!stopped.value && stopped.problem.isEmpty());
        QCOMPARE(read, 2);  // told of each exam read, and stopped after the second
    }

    void exportsAndBacksUpAKeptExam()
    {
        HistoryController &history = m_console->history();
        const ArchivedExam empty;
        QCOMPARE(history.exportKeptExam(empty).problem, u"这场考试没有成绩，没有导出。"_qs);
        const ArchivedExam kept = *history.exam(keepOne()).value;
        // A file where the export folder's parent should be.
        writeFile(m_room->work(u"文档"_qs), "x");
        QVERIFY(history.exportKeptExam(kept).problem.startsWith(u"无法建立导出文件夹"_qs));
        QVERIFY(QFile::remove(m_room->work(u"文档"_qs)));
        const WorkbookExport exported = history.exportKeptExam(kept);
        QCOMPARE(exported.problem, QString());
        QVERIFY(QFileInfo::exists(exported.workbook));

        QVERIFY(!history.backUpTo(m_room->work(u"无此文件夹/备份.db"_qs)).isEmpty());
        QCOMPARE(history.backUpTo(m_room->work(u"备份.db"_qs)), QString());
        QCOMPARE(ExamArchive(m_room->work(u"备份.db"_qs)).exams().value->size(), 1);
    }

private:
    static GradingScale oneGrade() { return *GradingScale::fromText(u"全部\t0\t0\t1\n"_qs).scale; }

    // Keeps an exam of one examinee; its id.
    qint64 keepOne()
    {
        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"1"_qs, u"x"_qs, 40));
        if (!m_console->collectResults().isEmpty()
            || !m_console->history().keepCurrentExam().isEmpty())
            return -1;
        return m_console->history().exams().value->first().id;
    }

    std::unique_ptr<ConsoleRoom> m_room;
    std::unique_ptr<ConsoleController> m_console;
};

QTEST_MAIN(TestHistoryController)
#include "tst_historycontroller.moc"
