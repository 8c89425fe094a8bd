// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A whole school's archive: 50 labs of 200 exams of 60 examinees (600,000
// rows), on a real PostgreSQL server of the bench's own and in the embedded
// file at the same size. Each lab teaches ten classes, each class sits 20
// exams over the term. Measured on both: opening 历次考试 (the list of every
// exam with its figures), the examinees to pick from, one exam's statistics
// and charts, a grade-wide exam (one morning's article in every lab) and
// the term report of twelve classes (their 240 exams read and written).
// The grade-wide exam is asked of a lab's console as 年级汇总 asks it, over
// the archive its 历次考试 lists.
#include "archive/archivedcolumns.h"
#include "archive/examineesearch.h"
#include "archive/examlisting.h"
#include "benchconsole.h"
#include "historyanswers.h"
#include "keptexams.h"
#include "postgrescluster.h"

#include "control/consolecontroller.h"

#include "report/examcharts.h"
#include "report/termreport.h"
#include "stats/examstatistics.h"
#include "stats/examsummary.h"
#include "stats/gradewideexam.h"

#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLabs = 50;
constexpr int kExamsPerLab = 200;
constexpr int kExaminees = 60;
constexpr int kClassesPerLab = 10;
constexpr int kReportClasses = 12;
// Rows per INSERT while seeding: well below both databases' limit of bound values.
constexpr int kRowsPerInsert = 200;

int classOf(int lab, int exam)
{
    return lab * kClassesPerLab + exam % kClassesPerLab;
}

QString multiRowInsert(const QString &head, int columns, int rows)
{
    const QString one = u'(' + QStringList(columns, QStringLiteral("?")).join(u',') + u')';
    return head + QStringList(rows, one).join(u',');
}

// Fills an empty archive in one transaction, many rows a statement; the problem or empty.
QString seed(const ArchivePlace &place)
{
    if (ExamArchive archive(place); !archive.isOpen())
        return archive.startProblem();
    const QString name = QStringLiteral("seed");
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(place.driverName(), name);
        place.configure(db, 5000);
        if (!db.open() || !db.transaction())
            return db.lastError().text();
        QSqlQuery exams(db);
        exams.prepare(QStringLiteral(
                "INSERT INTO exams (id, exam_key, opened_at, closed_at, archived_at, "
                "article_name, article_text, exam_minutes, lab, teacher, sent_at) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"));
        QSqlQuery rows(db);
        rows.prepare(multiRowInsert(QStringLiteral("INSERT INTO exam_rows (exam_id, position, "
                                                   "department, exam_number, name, speed, "
                                                   "accuracy_line, time_pass, rec_no, state) "
                                                   "VALUES "),
                                    10, kRowsPerInsert));
        const QDateTime start(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);
        int bound = 0;
        for (int lab = 0; lab < kLabs && problem.isEmpty(); ++lab) {
            for (int exam = 0; exam < kExamsPerLab && problem.isEmpty(); ++exam) {
                const int id = lab * kExamsPerLab + exam + 1;
                const int schoolClass = classOf(lab, exam);
                const QDateTime opened = start.addDays(exam / kClassesPerLab)
                                                 .addSecs(3600 * (8 + exam % kClassesPerLab));
                const QVariantList values { id,
                                            QStringLiteral("school-%1").arg(id),
                                            opened.toString(Qt::ISODate),
                                            opened.addSecs(900).toString(Qt::ISODate),
                                            opened.addSecs(1000).toString(Qt::ISODate),
                                            QStringLiteral("第%1课").arg(exam / kClassesPerLab + 1),
                                            QStringLiteral("春眠不觉晓，处处闻啼鸟。\r\n"),
                                            10,
                                            QStringLiteral("%1号机房").arg(lab + 1),
                                            QStringLiteral("教师%1").arg(lab + 1) };
                for (int i = 0; i < values.size(); ++i)
                    exams.bindValue(i, values[i]);
                if (!exams.exec()) {
                    problem = exams.lastError().text();
                    break;
                }
                for (int examinee = 0; examinee < kExaminees; ++examinee) {
                    ArchivedRow row = keptRow(exam, examinee);
                    row.department = QStringLiteral("%1班").arg(schoolClass + 1);
                    row.examNumber = QStringLiteral("%1%2")
                                             .arg(schoolClass + 1)
                                             .arg(examinee, 2, 10, QChar(u'0'));
                    const QVariantList cells { id,
                                               examinee,
                                               row.department,
                                               row.examNumber,
                                               row.name,
                                               row.speed,
                                               row.accuracyLine,
                                               row.timePass,
                                               row.recNo,
                                               archivecolumns::stateCode(row.state) };
                    for (const QVariant &cell : cells)
                        rows.bindValue(bound++, cell);
                    if (bound == 10 * kRowsPerInsert) {
                        bound = 0;
                        if (!rows.exec()) {
                            problem = rows.lastError().text();
                            break;
                        }
                    }
                }
            }
        }
        if (problem.isEmpty() && !db.commit())
            problem = db.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

// The archive, and the console of lab 1 whose 历次考试 shows it: its own
// file beside cj.mdb, or the school's database its setting names.
struct SchoolArchive
{
    explicit SchoolArchive(bool onServer)
    {
        ArchivePlace place = ArchivePlace::file(
                QFileInfo(room.folders().database).dir().filePath(ExamArchive::defaultFileName()));
        if (onServer) {
            cluster = std::make_unique<PostgresCluster>();
            if (!cluster->problem().isEmpty())
                qFatal("%s", qPrintable(cluster->problem()));
            place = ArchivePlace::fromText(cluster->newDatabase());
        }
        if (const QString problem = seed(place); !problem.isEmpty())
            qFatal("cannot seed the archive: %s", qPrintable(problem));
        archive = std::make_unique<ExamArchive>(place);
        console = std::make_unique<console::ConsoleController>(room.folders());
        QString problem;
        if (onServer)
            problem = console->school().save(
                    { place.text(), QStringLiteral("1号机房"), QStringLiteral("教师1") });
        if (problem.isEmpty())
            problem = shownArchive(console->history());
        if (!problem.isEmpty())
            qFatal("the console cannot show the archive: %s", qPrintable(problem));
    }

    BenchConsole room;
    std::unique_ptr<PostgresCluster> cluster;
    std::unique_ptr<ExamArchive> archive;
    std::unique_ptr<console::ConsoleController> console;
};

std::unique_ptr<SchoolArchive> places[2];

// While the application still runs: after main() returns the server could
// no longer be stopped and would outlive the bench.
void closePlaces()
{
    for (auto &place : places)
        place.reset();
}

// Made once for each place, when a benchmark first asks for it.
SchoolArchive &placeOn(bool onServer)
{
    auto &place = places[onServer ? 1 : 0];
    if (!place) {
        if (!places[0] && !places[1])
            qAddPostRoutine(closePlaces);
        place = std::make_unique<SchoolArchive>(onServer);
    }
    return *place;
}

ExamArchive &archiveOn(bool onServer)
{
    return *placeOn(onServer).archive;
}

// What opening 历次考试 reads, asked of the console as the window asks it
// and waited for: what there is to filter by, and the newest exams the list
// shows with their figures.
void BM_OpenHistory(benchmark::State &state)
{
    console::HistoryController &history = placeOn(state.range(0)).console->history();
    for (auto _ : state) {
        const auto choices = answerOf<ArchiveRead<ExamFilterChoices>>(
                [&](QObject *context, auto done) { history.filterChoices(context, done); });
        const auto listed = listedExams(history);
        if (!listed.value || listed.value->exams.size() != ExamListing::kMostListed
            || !choices.value) {
            state.SkipWithError(qPrintable(listed.problem + choices.problem));
            break;
        }
    }
}
BENCHMARK(BM_OpenHistory)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the 考生 tab reads when first shown: every examinee, in their newest exam's class.
void BM_ExamineesToPick(benchmark::State &state)
{
    ExamArchive &archive = archiveOn(state.range(0));
    for (auto _ : state) {
        const auto examinees = ExamineeSearch(archive).examinees();
        if (!examinees.value) {
            state.SkipWithError(qPrintable(examinees.problem));
            break;
        }
        state.counters["examinees"] = double(examinees.value->size());
    }
}
BENCHMARK(BM_ExamineesToPick)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ExamStatisticsAndCharts(benchmark::State &state)
{
    ExamArchive &archive = archiveOn(state.range(0));
    qint64 id = 1;
    for (auto _ : state) {
        const auto exam = archive.exam(id);
        if (!exam.value) {
            state.SkipWithError(qPrintable(exam.problem));
            break;
        }
        const GradingScale &scale = exam.value->sitting.scale;
        benchmark::DoNotOptimize(statisticsOf(exam.value->rows, scale));
        benchmark::DoNotOptimize(statisticsByDepartment(exam.value->rows, scale));
        for (QChart *chart : { examcharts::speedHistogram(exam.value->rows, scale),
                               examcharts::accuracyAgainstSpeed(exam.value->rows, scale) }) {
            QChartView view(chart);
            view.resize(640, 400);
            benchmark::DoNotOptimize(view.grab());
        }
        id = id % (kLabs * kExamsPerLab) + 97;
    }
}
BENCHMARK(BM_ExamStatisticsAndCharts)
        ->ArgName("server")
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);

// The first morning's exams share their article and minutes: every lab's
// four classes sat it, read and ranked as one exam, asked of the console as
// 年级汇总 asks it.
void BM_GradeExam(benchmark::State &state)
{
    console::HistoryController &history = placeOn(state.range(0)).console->history();
    for (auto _ : state) {
        const auto grade = answerOf<ArchiveRead<GradeWideExam>>(
                [&](QObject *context, auto done) { history.gradeExam(1, context, done); });
        if (!grade.value || !grade.value->isGradeWide()) {
            state.SkipWithError(qPrintable(grade.problem));
            break;
        }
        benchmark::DoNotOptimize(grade.value->ranking().size());
        state.counters["exams"] = double(grade.value->exams().size());
        state.counters["classes"] = double(grade.value->classes().size());
    }
}
BENCHMARK(BM_GradeExam)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Opening 历次考试 while the server's processes are stopped (SIGSTOP): the
// console's thread turns its event loop meanwhile, and the longest it went
// without a turn is what the examiner would feel; the answer comes once
// the statement under way is cut.
void BM_LongestHoldWhileServerHangs(benchmark::State &state)
{
    SchoolArchive &school = placeOn(true);
    console::HistoryController &history = school.console->history();
    for (auto _ : state) {
        if (const QString problem = school.cluster->pause(); !problem.isEmpty()) {
            state.SkipWithError(qPrintable(problem));
            break;
        }
        QElapsedTimer sinceTurn;
        qint64 longest = 0;
        QTimer turns;
        turns.setInterval(1);
        QObject::connect(&turns, &QTimer::timeout,
                         [&] { longest = std::max(longest, sinceTurn.restart()); });
        sinceTurn.start();
        turns.start();
        const auto listed = listedExams(history);
        turns.stop();
        school.cluster->resume();
        state.counters["longest_hold_ms"] = double(longest);
        state.counters["answered"] = listed.value ? 1 : 0;
    }
}
BENCHMARK(BM_LongestHoldWhileServerHangs)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TermReport12Classes(benchmark::State &state)
{
    ExamArchive &archive = archiveOn(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("学期报告.xlsx"));
    for (auto _ : state) {
        QVector<ArchivedExam> exams;
        for (int lab = 0; lab < kLabs; ++lab) {
            for (int exam = 0; exam < kExamsPerLab; ++exam) {
                if (classOf(lab, exam) < kReportClasses)
                    exams.append(*archive.exam(lab * kExamsPerLab + exam + 1).value);
            }
        }
        std::stable_sort(exams.begin(), exams.end(),
                         [](const ArchivedExam &a, const ArchivedExam &b) {
                             return a.sitting.heldAt() < b.sitting.heldAt();
                         });
        const termreport::Outcome outcome = termreport::write(exams, path, {});
        if (!outcome.problem.isEmpty())
            state.SkipWithError(qPrintable(outcome.problem));
        state.counters["exams"] = double(exams.size());
    }
}
BENCHMARK(BM_TermReport12Classes)
        ->ArgName("server")
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);

}  // namespace
