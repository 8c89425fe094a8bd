// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A flood in the exchange folder: 3,000 forged finished records of 198 KB
// each (an answer sheet far beyond the text), all of them sessions of their
// own, with a class's exam published, in the console's window as the
// examiner sees it (the grid shows every row). Measured: the longest time
// the window's thread is held at once while an automatic collection runs (the
// first reads every file, the later ones find nothing new) and while one by
// hand (获取成绩) runs until its rows are shown, how long the latter takes,
// the longest hold while a retake (重考) waits for the clock's collection,
// is done and shown, and the process's peak resident size. Run it alone
// for the peak to be its own. It runs twice: the classic login, and an exam
// that requires login codes of a listed class, where every flooded record
// is unsigned and must stay one row of its own however often collected.
#include "benchclock.h"
#include "benchconsole.h"
#include "fakemessages.h"
#include "exchange/programlog.h"
#include "exchange/resultfilename.h"
#include "exchange/resultrecord.h"
#include "exchange/transcode.h"
#include "watchedconsole.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

constexpr int kFiles = 3000;
constexpr int kFileBytes = 198 * 1024;
// The class listed when codes are required: nobody the flood names.
constexpr int kListed = 10;

QString articleText()
{
    const QString verse = QStringLiteral("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。");
    QString text;
    while (text.size() < 600)
        text += verse;
    return text + QStringLiteral("\r\n");
}

// A finished record whose sheet fills the file to about kFileBytes.
QByteArray forgedFile(int i, const QByteArray &digest, const QString &text)
{
    QString typed = text;
    while (typed.size() * 2 < kFileBytes - 400)
        typed += text.at(typed.size() % text.size());
    ResultRecord record { 60.0f,
                          100.0f,
                          300,
                          qint32(text.size()),
                          qint32(typed.size()),
                          QStringLiteral("一班"),
                          QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')),
                          QStringLiteral("考生%1").arg(i),
                          ResultProgress { 2, QStringLiteral("flood-%1").arg(i),
                                           ResultProgress::Phase::Finished, qint32(typed.size()) },
                          AnswerSheet { digest, 5, 0, typed } };
    return transcodeBytes(record.toRecordLines(), kExchangeKey);
}

double peakMiB()
{
#ifdef Q_OS_UNIX
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
#else
    return 0;
#endif
}

void BM_CollectFlood(benchmark::State &state)
{
    // The console's own log, written to a file as it is in use.
    static const QTemporaryDir logFolder;
    programlog::install(logFolder.path(), QStringLiteral("kestrix-server"));
    const BenchConsole place;
    const QString &exchange = place.folders().exchange;
    const QString text = articleText();
    place.writeExam(text, 5);
    FakeMessages messages;
    WatchedConsole window(place.folders(), ConsoleHooks(), &messages);
    window.resize(1920, 1040);
    window.show();
    console::ConsoleController &controller = window.controller();
    const auto *grid = window.findChild<QTableView *>(QStringLiteral("DataGrid1"));
    const bool codes = state.range(0) != 0;
    if (codes) {
        QString listed = QStringLiteral("部门,考号,姓名\n");
        for (int i = 0; i < kListed; ++i)
            listed += QStringLiteral("二班,%1,学生%1\n").arg(i);
        const QString list = QDir(place.folders().application).filePath(QStringLiteral("名单.csv"));
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly) || file.write(listed.toUtf8()) < 0)
            qFatal("cannot write the class list");
        file.close();
        if (!controller.liveClass().loadRoster(list).isEmpty())
            qFatal("cannot load the class list");
        controller.liveClass().waitForRoster();
        if (!controller.settings().saveLoginCodesRequired(true).isEmpty())
            qFatal("cannot require login codes");
    }
    if (!controller.openLogin().isEmpty()
        || controller.slipCodes().loginCodes().isEmpty() != !codes)
        qFatal("cannot publish the exam");
    // Every forged file one row, the listed class one row each beside them.
    const int rows = kFiles + (codes ? kListed : 0);
    const QByteArray digest = place.publishedDigest();
    for (int i = 0; i < kFiles; ++i) {
        const QByteArray bytes = forgedFile(i, digest, text);
        QFile file(QDir(exchange).filePath(resultname::forIdentity(
                QStringLiteral("一班"), QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')),
                QStringLiteral("考生%1").arg(i))));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write a forged file");
    }
    const double peakBefore = peakMiB();
    double firstHeld = 0, laterHeld = 0, heldCpu = 0;
    int collections = 0;
    QElapsedTimer clock;
    // The longest the console's thread is held at once from `start` until
    // `done`, the event loop turning in between.
    const auto longestHold = [&](const auto &start, const auto &done) {
        double held = 0;
        const auto timed = [&](const auto &work) {
            clock.start();
            const double cpuStart = threadCpuMillis();
            work();
            held = std::max(held, clock.nsecsElapsed() / 1e6);
            heldCpu = std::max(heldCpu, threadCpuMillis() - cpuStart);
        };
        timed(start);
        while (!done())
            timed([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });
        return held;
    };
    for (auto _ : state) {
        const double held = longestHold([&] { controller.collectQuietly(); },
                                        [&] { return !controller.collectionUnderWay(); });
        double &longest = collections++ == 0 ? firstHeld : laterHeld;
        longest = std::max(longest, held);
        if (controller.liveClass().live().rows().size() != rows
            || grid->model()->rowCount() != rows)
            state.SkipWithError("not every forged file became one row on screen");
    }
    // By hand the command's first collection reads every file again: it
    // keeps its own account of the files read.
    bool told = false;
    QObject::connect(&controller, &console::ConsoleController::collectedByHand,
                     [&told] { told = true; });
    QElapsedTimer byHand;
    byHand.start();
    state.counters["by_hand_held_ms"] =
            longestHold([&] { controller.collectResults(); }, [&told] { return told; });
    state.counters["by_hand_ms"] = byHand.nsecsElapsed() / 1e6;
    // 重考 asked while the clock's collection runs: it waits for that one,
    // sets aside and collects again until the rows show it.
    bool retaken = false;
    QObject::connect(&controller, &console::ConsoleController::retakeDone,
                     [&retaken] { retaken = true; });
    const ClassViewRow examinee = controller.liveClass().live().rows().first();
    state.counters["retake_held_ms"] = longestHold(
            [&] {
                controller.collectQuietly();
                controller.allowRetake(examinee);
            },
            [&retaken] { return retaken; });
    state.counters["first_held_ms"] = firstHeld;
    state.counters["later_held_ms"] = laterHeld;
    state.counters["held_cpu_ms"] = heldCpu;
    state.counters["peak_MiB"] = peakMiB();
    state.counters["peak_before_MiB"] = peakBefore;
    state.counters["rows"] = controller.resultCount().value_or(-1);
}
BENCHMARK(BM_CollectFlood)
        ->ArgName("codes")
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(4);

}  // namespace
