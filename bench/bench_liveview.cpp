// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The console watching a class of 60: every examinee uploads its progress
// every 30 s and the console collects every 5 s, so each collection finds
// about 10 changed files. Measured per collection: the whole time from the
// clock's tick until the view shows it (the files and the database are
// handled on the collector's thread), the longest time the window's thread
// was held at once (starting, showing the rows, repainting the grid), and the
// console's share of one core (CPU time over the 5 s between collections).
#include "exchange/answercomparison.h"
#include "benchclock.h"
#include "benchconsole.h"
#include "exchange/examdigest.h"
#include "fakemessages.h"
#include "exchange/gbk.h"
#include "windows/frmanswersheet.h"
#include "exchange/resultrecord.h"
#include "exchange/resultfilename.h"
#include "timeline/recordtimeline.h"
#include "exchange/transcode.h"
#include "typingruns.h"
#include "watchedconsole.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

constexpr int kCollectMillis = console::ConsoleController::kAutoCollectMillis;
constexpr int kProgressMillis = 30000;

ResultRecord progressRecord(int examinee, int round)
{
    const qint32 typed = std::min(1200, round * 60 + examinee);
    const qint16 seconds = qint16(std::min(600, round * 30));
    return { seconds ? float(typed) * 50 / seconds : 0,
             97.5f,
             seconds,
             1200,
             typed,
             QStringLiteral("计算机%1班").arg(examinee % 2 + 1),
             QStringLiteral("2026%1").arg(examinee, 3, 10, QLatin1Char('0')),
             QStringLiteral("考生%1").arg(examinee),
             ResultProgress { round + 1, QStringLiteral("session-%1").arg(examinee),
                              round == 0 ? ResultProgress::Phase::Waiting
                                         : ResultProgress::Phase::Typing,
                              typed } };
}

void upload(const QString &folder, int examinee, int round)
{
    const ResultRecord record = progressRecord(examinee, round);
    QFile file(QDir(folder).filePath(
            resultname::forIdentity(record.department, record.examNumber, record.name)));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write a result file");
    file.write(transcodeBytes(record.toRecordLines(), kExchangeKey));
}

void BM_LiveCollection(benchmark::State &state)
{
    const int examinees = int(state.range(0));
    const bool maximised = state.range(1) != 0;
    const BenchConsole place;
    const QString &exchange = place.folders().exchange;
    FakeMessages messages;
    WatchedConsole window(place.folders(), ConsoleHooks(), &messages);
    console::ConsoleController &controller = window.controller();
    if (maximised)
        window.resize(1920, 1040);
    window.show();
    auto *grid = window.findChild<QTableView *>(QStringLiteral("DataGrid1"));
    for (int i = 0; i < examinees; ++i)
        upload(exchange, i, 0);
    // Each collection finds the uploads of the last 5 s: one examinee in six.
    const int perCollection = examinees * kCollectMillis / kProgressMillis;
    int next = 0;
    int round = 1;
    // The first showing rasterises the glyphs and sizes the grid: once per
    // run, not per collection.
    controller.collectQuietly();
    while (controller.collectionUnderWay())
        QCoreApplication::processEvents();
    grid->viewport()->repaint();
    double longestHeld = 0;
    double longestStart = 0, longestEvents = 0, longestPaint = 0;
    double longestHeldCpu = 0;
    double cpuMillis = 0;
    QElapsedTimer clock;
    const auto held = [&](double &longestOfKind, const std::function<void()> &work) {
        clock.start();
        const double cpuStart = threadCpuMillis();
        work();
        const double millis = clock.nsecsElapsed() / 1e6;
        longestOfKind = std::max(longestOfKind, millis);
        longestHeldCpu = std::max(longestHeldCpu, threadCpuMillis() - cpuStart);
        longestHeld = std::max(longestHeld, millis);
    };
    for (auto _ : state) {
        state.PauseTiming();
        for (int k = 0; k < perCollection; ++k) {
            upload(exchange, next, round);
            if (++next == examinees) {
                next = 0;
                ++round;
            }
        }
        const double cpuBefore = processCpuMillis();
        state.ResumeTiming();
        held(longestStart, [&] { controller.collectQuietly(); });
        while (controller.collectionUnderWay())
            held(longestEvents, [] { QCoreApplication::processEvents(); });
        held(longestPaint, [&] { grid->viewport()->repaint(); });
        cpuMillis += processCpuMillis() - cpuBefore;
    }
    state.counters["longest_held_ms"] = longestHeld;
    state.counters["longest_held_cpu_ms"] = longestHeldCpu;
    state.counters["start_ms"] = longestStart;
    state.counters["events_ms"] = longestEvents;
    state.counters["paint_ms"] = longestPaint;
    // Includes the loop's own spinning while it waits for the collector.
    state.counters["core_percent_at_most"] =
            cpuMillis / double(state.iterations()) / kCollectMillis * 100.0;
}
BENCHMARK(BM_LiveCollection)
        ->Args({ 60, 0 })
        ->Args({ 60, 1 })
        ->Args({ 200, 1 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3);

// A class of 60 on a write-once service, each examinee leaving a new record
// with its answer sheet every 120 s: after 20 minutes 590 files of up to 60
// KB lie in the folder (a 30,000-character text, all of it typed by the
// end), and one collection finds 10 new ones. Measured per collection as
// above; the 590 were read before the first.
constexpr int kClass = 60;
constexpr int kTextChars = 30000;
constexpr int kRecordsEach = 10;

ResultRecord sheetRecord(const QString &text, const QByteArray &digest, int examinee, int round)
{
    const qint16 seconds = qint16((round + 1) * 120);
    const QString typed = text.left(kTextChars * (round + 1) / kRecordsEach);
    AnswerComparison comparison(text);
    comparison.compare(typed);
    const AnswerFigures figures = scoreAnswer(comparison, qint32(typed.size()), seconds);
    return { figures.speed,
             figures.accuracy,
             seconds,
             qint32(text.size()),
             qint32(typed.size()),
             QStringLiteral("计算机%1班").arg(examinee % 2 + 1),
             QStringLiteral("2026%1").arg(examinee, 3, 10, QLatin1Char('0')),
             QStringLiteral("考生%1").arg(examinee),
             ResultProgress { round + 1, QStringLiteral("session-%1").arg(examinee),
                              ResultProgress::Phase::Typing, qint32(typed.size()) },
             AnswerSheet { digest, 20, 0, typed } };
}

QString writeSheet(const QString &folder, const ResultRecord &record, int round)
{
    const QString path = QDir(folder).filePath(
            resultname::forIdentity(record.department, record.examNumber, record.name, round + 1));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write a result file");
    file.write(transcodeBytes(record.toRecordLines(), kExchangeKey));
    return path;
}

void BM_AnswerSheetCollection(benchmark::State &state)
{
    const BenchConsole place;
    const QString &exchange = place.folders().exchange;
    QString text;
    const QString verse = QStringLiteral("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。");
    while (text.size() < kTextChars - 2)
        text += verse.at(text.size() % verse.size());
    text += QStringLiteral("\r\n");
    place.writeExam(text, 20);
    FakeMessages messages;
    WatchedConsole window(place.folders(), ConsoleHooks(), &messages);
    console::ConsoleController &controller = window.controller();
    if (!controller.openLogin().isEmpty())
        qFatal("cannot publish the exam");
    const QByteArray digest = place.publishedDigest();
    window.show();
    auto *grid = window.findChild<QTableView *>(QStringLiteral("DataGrid1"));
    // The last round's records, ready to be written as the new ones.
    QVector<ResultRecord> last;
    for (int examinee = 0; examinee < kClass; ++examinee) {
        for (int round = 0; round < kRecordsEach; ++round) {
            const ResultRecord record = sheetRecord(text, digest, examinee, round);
            if (round < kRecordsEach - 1 || examinee < kClass - 10)
                writeSheet(exchange, record, round);
            else
                last << record;
        }
    }
    controller.collectQuietly();
    while (controller.collectionUnderWay())
        QCoreApplication::processEvents();
    grid->viewport()->repaint();
    double longestHeld = 0;
    double longestHeldCpu = 0;
    double cpuMillis = 0;
    QStringList written;
    QElapsedTimer clock;
    const auto held = [&](const std::function<void()> &work) {
        clock.start();
        const double cpuStart = threadCpuMillis();
        work();
        longestHeld = std::max(longestHeld, clock.nsecsElapsed() / 1e6);
        longestHeldCpu = std::max(longestHeldCpu, threadCpuMillis() - cpuStart);
    };
    for (auto _ : state) {
        state.PauseTiming();
        // The same 10 files anew each time: new to the collector once more.
        for (const QString &path : std::as_const(written))
            QFile::remove(path);
        controller.collectQuietly();
        while (controller.collectionUnderWay())
            QCoreApplication::processEvents();
        written.clear();
        for (const ResultRecord &record : std::as_const(last))
            written << writeSheet(exchange, record, kRecordsEach - 1);
        const double cpuBefore = processCpuMillis();
        state.ResumeTiming();
        held([&] { controller.collectQuietly(); });
        while (controller.collectionUnderWay())
            held([] { QCoreApplication::processEvents(); });
        held([&] { grid->viewport()->repaint(); });
        cpuMillis += processCpuMillis() - cpuBefore;
    }
    state.counters["longest_held_ms"] = longestHeld;
    state.counters["longest_held_cpu_ms"] = longestHeldCpu;
    // Includes the loop's own spinning while it waits for the collector.
    state.counters["cpu_ms_at_most"] = cpuMillis / double(state.iterations());
}
BENCHMARK(BM_AnswerSheetCollection)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The answer-sheet window as the double click opens it, painted.
FrmAnswerSheet *openedSheet(const ClassViewRow &row, const CollectedResult &result,
                            const ExamFacts &facts)
{
    auto *window = new FrmAnswerSheet(AnswerSheetPage(row, &result, facts));
    window->show();
    window->repaint();
    QCoreApplication::processEvents();
    return window;
}

// The examiner opens one answer sheet of a 30,000-character text, one sign
// in twenty typed wrong and the last tenth not typed: from the double click
// to the window painted.
void BM_OpenAnswerSheet(benchmark::State &state)
{
    QString text;
    const QString verse = QStringLiteral("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\r\n");
    while (text.size() < kTextChars)
        text += verse;
    QString typed = text.left(kTextChars * 9 / 10);
    for (int i = 7; i < typed.size(); i += 20)
        typed[i] = u'错';
    ResultRecord record = sheetRecord(text, examDigest(gbk::encode(text)), 1, 9);
    record.answerSheet->typedText = typed;
    CollectedResult result { record, QStringLiteral("97.5"), {}, 0 };
    ClassViewRow row;
    row.hasRecord = true;
    row.name = record.name;
    ExamFacts facts;
    facts.examSeconds = 20 * 60;
    facts.publishedText = text;
    facts.publishedDigest = record.answerSheet->examDigest;
    for (auto _ : state) {
        auto *window = openedSheet(row, result, facts);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAnswerSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// The same sheet of a 30,000-character text, with its keystroke timeline
// (pinyin, four keys a character, a person's pace): from the double click to
// the window painted with its tabs. Argument 0: typed to its end, the
// timeline as a client sends it, coarsened to fit its bound; 1: typed as far
// as a timeline of every event fits the bound (the most a replay and a
// curve get to work on).
void BM_OpenAnswerSheetWithTimeline(benchmark::State &state)
{
    QString text;
    const QString verse = QStringLiteral("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。\r\n");
    while (text.size() < kTextChars)
        text += verse;
    QString shown = text;
    shown.remove(u'\r');
    for (int i = 7; i < shown.size(); i += 20)
        shown[i] = u'错';
    const bool everyEvent = state.range(0) != 0;
    KeyTimeline run = typedRun(shown, personLikePace(1, 150));
    while (everyEvent && keytimeline::encode(run).size() > keytimeline::kMaxEncodedBytes) {
        shown.truncate(shown.size() * 9 / 10);
        run = typedRun(shown, personLikePace(1, 150));
    }
    const qint16 seconds = qint16(run.keys.back().atMs / 1000 + 1);
    ResultRecord record = sheetRecord(text, examDigest(gbk::encode(text)), 1, 9);
    record.timePass = seconds;
    record.answerSheet->examMinutes = qint16(seconds / 60 + 1);
    record.answerSheet->typedText = withCrLf(shown);
    record.sections.push_back(
            { keytimeline::kSectionName.toString(), keytimeline::encodeWithinBound(run) });
    CollectedResult result { record, QStringLiteral("97.5"), {}, 0 };
    ClassViewRow row;
    row.hasRecord = true;
    row.name = record.name;
    ExamFacts facts;
    facts.examSeconds = record.answerSheet->examMinutes * 60;
    facts.publishedText = text;
    facts.publishedDigest = record.answerSheet->examDigest;
    bool replayed = false;
    for (auto _ : state) {
        auto *window = openedSheet(row, result, facts);
        state.PauseTiming();
        replayed = window->findChild<QWidget *>(QStringLiteral("ReplayView")) != nullptr;
        delete window;
        state.ResumeTiming();
    }
    state.counters["timeline_kb"] = record.sections.back().bytes.size() / 1024.0;
    state.counters["replay"] = replayed;
    state.counters["typed_chars"] = double(shown.size());
}
BENCHMARK(BM_OpenAnswerSheetWithTimeline)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(2);

}  // namespace
