// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping and showing past exams over a real console and archive: the exam
// in the results table as it would be kept, keeping it once, and the
// commands on a kept exam, each refused first and then carried out.
#include "collectbyhand.h"
#include "consoleroom.h"
#include "historyanswers.h"
#include "keptexams.h"
#include "postgrescluster.h"
#include "testrecords.h"
#include "workbook.h"

#include "control/consolecontroller.h"

#include <QSet>
#include <QtTest>

#include <utility>

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
        QCOMPARE(listedExams(history).value->exams.size(), 0);

        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"1"_qs, u"慢"_qs, 20));
        writeResultFile(m_room->exchangeFolder,
                        sampleRecord(u"a"_qs, u"2"_qs, u"未开始"_qs, 0, 0, 0));
        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"3"_qs, u"快"_qs, 70));
        QCOMPARE(collectByHand(*m_console), QString());
        QCOMPARE(m_console->settings().saveGradingScale(oneGrade()), QString());
        const auto current = history.currentExam();
        QVERIFY(current.value);
        QStringList ranked;
        for (const ArchivedRow &row : current.value->rows)
            ranked << row.name + u'/' + row.stateWord();
        QCOMPARE(ranked, (QStringList { u"快/已交卷"_qs, u"慢/已交卷"_qs, u"未开始/未开始"_qs }));
        QCOMPARE(current.value->sitting.examMinutes, 25);  // nothing published: time.txt's
        QCOMPARE(current.value->sitting.scale.grades().size(), 1);  // the scale in force

        QCOMPARE(history.keepCurrentExam(), QString());
        QCOMPARE(history.keepCurrentExam(), QString());
        QCOMPARE(listedExams(history).value->exams.size(), 1);
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
            return answerOf<QString>([&](QObject *context, auto done) {
                ArchivedExam exam;
                exam.id = target;
                if (command == u"regrade"_qs)
                    history.regrade(exam, context, done);
                else
                    history.remove(target, context, done);
            });
        };
        QCOMPARE(run(id + 1), u"考试存档中没有这场考试。"_qs);
        QCOMPARE(run(id), QString());
        if (command == u"regrade"_qs)
            QCOMPARE(keptExam(history, id).value->sitting.scale, oneGrade());
        else
            QCOMPARE(listedExams(history).value->exams.size(), 0);
    }

    void readsTheExamsOfATerm()
    {
        HistoryController &history = m_console->history();
        const qint64 id = keepOne();
        int read = 0;
        const auto termExams = [&](const QVector<qint64> &ids, const QString &department) {
            return answerOf<ArchiveRead<QVector<ArchivedExam>>>([&](QObject *context, auto done) {
                history.termExams(
                        ids, department, [&](int done) { return (read = done) < 2; }, context,
                        done);
            });
        };
        QCOMPARE(termExams({ id + 1, id }, {}).problem, u"考试存档中没有这场考试。"_qs);
        const auto ofClassB = termExams({ id }, u"b"_qs).value;
        QVERIFY(ofClassB && ofClassB->first().rows.isEmpty());
        QCOMPARE(termExams({ id }, u"a"_qs).value->first().rows.size(), 1);
        const auto stopped = termExams({ id, id, id }, {});
        QVERIFY(!stopped.value && stopped.problem.isEmpty());
        QCOMPARE(read, 2);  // told of each exam read, and stopped after the second
    }

    // The chosen classes' exams of a term, whichever lab kept them: each
    // class's own rows, oldest first, nothing of the term before.
    void readsTheClassesOfATerm()
    {
        ExamArchive archive(m_room->work(ExamArchive::defaultFileName()));
        const QDateTime monday(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
        bool first = true;
        for (const QDateTime &when : { monday, monday.addDays(7), monday.addMonths(-2) }) {
            for (ArchivedExam exam : gradeOfLabs(2, 3, when)) {
                // One examinee of 高一(2)班 sat with 高一(1)班 in 机房1 the first time.
                if (std::exchange(first, false)) {
                    exam.rows.append(keptRow(0, 99));
                    exam.rows.last().department = u"高一(2)班"_qs;
                }
                QCOMPARE(archive.keep(exam.sitting, exam.rows).problem, QString());
            }
        }
        HistoryController &history = m_console->history();
        const SchoolTerm term = SchoolTerm::of(monday.date());
        const QStringList classes { u"高一(2)班"_qs, u"高一(1)班"_qs, u"高三(9)班"_qs };
        int read = 0;
        const auto classTerms = [&](int stopAfter) {
            return answerOf<ArchiveRead<QVector<ClassTerm>>>([&](QObject *context, auto done) {
                history.classTerms(
                        term, classes, [&](int done) { return (read = done) < stopAfter; }, context,
                        done);
            });
        };
        const auto stopped = classTerms(2);
        QVERIFY(!stopped.value && stopped.problem.isEmpty());
        QCOMPARE(read, 2);  // stopped after the second class
        const auto terms = classTerms(99);
        QVERIFY2(terms.value, qPrintable(terms.problem));
        QStringList shown;
        for (const ClassTerm &one : *terms.value) {
            QStringList exams;
            for (const ArchivedExam &exam : one.exams) {
                QSet<QString> departments;
                for (const ArchivedRow &row : exam.rows)
                    departments.insert(row.department);
                exams << u"%1 %2 %3人%4"_qs
                                 .arg(exam.sitting.lab,
                                      exam.sitting.heldAt().toUTC().toString(u"MM-dd HH:mm"_qs))
                                 .arg(exam.rows.size())
                                 .arg(departments == QSet<QString> { one.name } ? QString()
                                                                                : u" 混"_qs);
            }
            shown << one.name + u": "_qs + exams.join(u", "_qs);
        }
        QCOMPARE(
                shown,
                (QStringList {
                        u"高一(2)班: 机房1 03-02 08:00 1人, 机房2 03-02 08:15 3人, 机房2 03-09 08:15 3人"_qs,
                        u"高一(1)班: 机房1 03-02 08:00 3人, 机房1 03-09 08:00 3人"_qs,
                        u"高三(9)班: "_qs }));
    }

    // Lab B's console with the school's list shown: 年级汇总 on lab A's
    // exam reads the school, not this computer's file (another class's exam).
    void gradeExamReadsTheArchiveListed()
    {
        PostgresCluster cluster;
        const QString uri = cluster.newDatabase();
        const QDateTime monday(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
        ExamArchive school(ArchivePlace::fromText(uri));
        for (const ArchivedExam &exam : gradeOfLabs(2, 3, monday))
            QCOMPARE(school.keep(exam.sitting, exam.rows).problem, QString());
        ArchivedExam own = gradeOfLabs(3, 2, monday).last();  // 机房3, 高一(3)班
        QCOMPARE(ExamArchive(m_room->work(ExamArchive::defaultFileName()))
                         .keep(own.sitting, own.rows)
                         .problem,
                 QString());
        HistoryController &history = m_console->history();
        const auto gradeExam = [&history] {
            return answerOf<ArchiveRead<GradeWideExam>>(
                    [&](QObject *context, auto done) { history.gradeExam(2, context, done); });
        };
        QCOMPARE(gradeExam().problem, u"考试存档中没有这场考试。"_qs);
        QCOMPARE(m_console->school().save({ uri, u"机房B"_qs, {} }), QString());
        QCOMPARE(shownArchive(history), QString());
        const auto grade = gradeExam();
        QVERIFY2(grade.value, qPrintable(grade.problem));
        QStringList names;
        for (const auto *parts : { &grade.value->classes(), &grade.value->labs() }) {
            for (const NamedStatistics &one : *parts)
                names << one.name;
        }
        QCOMPARE(names,
                 (QStringList { u"高一(1)班"_qs, u"高一(2)班"_qs, u"机房1"_qs, u"机房2"_qs }));
    }

    void exportsAndBacksUpAKeptExam()
    {
        HistoryController &history = m_console->history();
        const ArchivedExam empty;
        QCOMPARE(history.exportKeptExam(empty).problem, u"这场考试没有成绩，没有导出。"_qs);
        const ArchivedExam kept = *keptExam(history, keepOne()).value;
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

    // A class list of five: three handed in (two equally fast), one typing,
    // one never logged in. The export words and places each row and says in
    // its title while one types; the kept exam keeps the absentee.
    void absentExamineesExportedAndKept()
    {
        const QString roster = m_room->work(u"名单.csv"_qs);
        writeFile(roster,
                  u"部门,考号,姓名\n一班,01,甲\n一班,02,乙\n一班,03,丙\n一班,04,丁\n"
                  u"一班,05,戊\n"_qs.toUtf8());
        QCOMPARE(m_console->liveClass().loadRoster(roster), QString());
        m_console->liveClass().waitForRoster();
        const QString &folder = m_room->exchangeFolder;
        writeResultFile(folder, sampleRecord(u"一班"_qs, u"01"_qs, u"甲"_qs, 60, 98));
        writeResultFile(folder, sampleRecord(u"一班"_qs, u"02"_qs, u"乙"_qs, 50, 95));
        writeResultFile(folder, sampleRecord(u"一班"_qs, u"03"_qs, u"丙"_qs, 50, 90));
        ResultRecord typing = sampleRecord(u"一班"_qs, u"04"_qs, u"丁"_qs, 20, 80, 300);
        typing.progress = ResultProgress { 1, u"s4"_qs, ResultProgress::Phase::Typing, 400 };
        writeResultFile(folder, typing);
        QCOMPARE(collectByHand(*m_console), QString());
        const auto exported = [this] {
            QStringList rows = workbookRows(m_console->exportResults().workbook);
            // Held now: the time is the one part of the title that moves.
            rows[0].replace(QRegularExpression(u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"_qs),
                            u"今天"_qs);
            return rows;
        };
        QStringList rows {
            u"str:打字考试成绩表　今天　25分钟　一班（考试进行中，1人正在答题）||||||||||"_qs,
            u"str:部门|str:考号|str:姓名|str:打字速度（字/分钟）|str:正确率（%）|str:打字时间（秒）"
            u"|str:错字数|str:等级|str:得分|str:状态|str:名次"_qs,
            u"str:一班|str:01|str:甲|int:60|int:98|int:600||str:优秀|int:95|str:已交卷|int:1"_qs,
            u"str:一班|str:02|str:乙|int:50|int:95|int:600||str:良好|int:85|str:已交卷|int:2"_qs,
            u"str:一班|str:03|str:丙|int:50|int:90|int:600||str:良好|int:85|str:已交卷|int:2"_qs,
            u"str:一班|str:04|str:丁|int:20|int:80|int:300||str:不及格|int:50|str:答题中|"_qs,
            u"str:一班|str:05|str:戊|||||||str:缺考|"_qs,
        };
        QCOMPARE(exported(), rows);

        // Handed in as the others were, by a client that writes no progress.
        typing.progress = std::nullopt;
        writeResultFile(folder, typing);
        QCOMPARE(collectByHand(*m_console), QString());
        rows[0] = u"str:打字考试成绩表　今天　25分钟　一班||||||||||"_qs;
        rows[5].replace(u"str:答题中|"_qs, u"str:已交卷|int:4"_qs);
        QCOMPARE(exported(), rows);

        QCOMPARE(m_console->history().keepCurrentExam(), QString());
        const auto kept = listedExams(m_console->history());
        QCOMPARE(kept.value->exams.size(), 1);
        QCOMPARE(kept.value->exams.first().examinees, 4);
        const ArchivedExam exam =
                *keptExam(m_console->history(), kept.value->exams.first().id).value;
        QStringList states;
        for (const ArchivedRow &row : exam.rows)
            states << row.name + u'/' + row.stateWord();
        QCOMPARE(states,
                 (QStringList { u"甲/已交卷"_qs, u"乙/已交卷"_qs, u"丙/已交卷"_qs, u"丁/已交卷"_qs,
                                u"戊/缺考"_qs }));
    }

private:
    static GradingScale oneGrade() { return *GradingScale::fromText(u"全部\t0\t0\t1\n"_qs).scale; }

    // Keeps an exam of one examinee; its id.
    qint64 keepOne()
    {
        writeResultFile(m_room->exchangeFolder, sampleRecord(u"a"_qs, u"1"_qs, u"x"_qs, 40));
        if (!collectByHand(*m_console).isEmpty()
            || !m_console->history().keepCurrentExam().isEmpty())
            return -1;
        return listedExams(m_console->history()).value->exams.first().id;
    }

    std::unique_ptr<ConsoleRoom> m_room;
    std::unique_ptr<ConsoleController> m_console;
};

QTEST_MAIN(TestHistoryController)
#include "tst_historycontroller.moc"
