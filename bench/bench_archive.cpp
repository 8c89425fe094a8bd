// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The archive at a school's scale: 500 kept exams of 60 examinees (30,000
// rows). Measured: opening 历次考试 (the list with every exam's pass rate,
// and the newest exam shown), one exam's statistics and charts, one
// examinee's history, a term report of 20 exams. The archive's size is
// reported as a counter.
#include "historyanswers.h"
#include "keptexams.h"

#include "control/consolecontroller.h"
#include "report/termreport.h"
#include "windows/frmhistory.h"

#include "exchange/messages.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kExams = 500;
constexpr int kExaminees = 60;

class QuietMessages : public Messages
{
public:
    void inform(QWidget *, const QString &) override { }
    bool confirm(QWidget *, const QString &) override { return false; }
};

class History : public FrmHistory
{
public:
    using FrmHistory::findExaminee;
    using FrmHistory::FrmHistory;
    using FrmHistory::showExam;
};

// One console over a full archive, made once for every benchmark.
struct School
{
    School()
    {
        const QString database = dir.filePath(QStringLiteral("cj.mdb"));
        folders = { dir.path(), dir.path(), dir.filePath(QStringLiteral("exchange")), database,
                    dir.filePath(QStringLiteral("exports")) };
        {
            // Filled before the console opens it, as a school's archive would be.
            ExamArchive archive(dir.filePath(ExamArchive::defaultFileName()));
            if (!fillArchive(archive, kExams, kExaminees).isEmpty())
                qFatal("cannot fill the archive");
            archiveBytes = QFileInfo(archive.path()).size();
        }
        controller = std::make_unique<console::ConsoleController>(folders);
    }

    QTemporaryDir dir;
    console::ConsoleFolders folders;
    std::unique_ptr<console::ConsoleController> controller;
    qint64 archiveBytes = 0;
};

School &school()
{
    static School school;
    return school;
}

void BM_OpenHistory(benchmark::State &state)
{
    School &s = school();
    QuietMessages messages;
    ConsoleHooks hooks;
    for (auto _ : state) {
        History window(s.controller->history(), hooks, &messages, nullptr);
        window.refresh();
    }
    state.counters["archive_MB"] = double(s.archiveBytes) / (1024 * 1024);
}
BENCHMARK(BM_OpenHistory)->Unit(benchmark::kMillisecond);

void BM_ExamStatisticsAndCharts(benchmark::State &state)
{
    School &s = school();
    QuietMessages messages;
    ConsoleHooks hooks;
    History window(s.controller->history(), hooks, &messages, nullptr);
    window.resize(1280, 800);
    qint64 id = 1;
    for (auto _ : state) {
        window.showExam(id);
        // The charts as the screen shows them, painted.
        benchmark::DoNotOptimize(window.grab());
        id = id % kExams + 1;
    }
}
BENCHMARK(BM_ExamStatisticsAndCharts)->Unit(benchmark::kMillisecond);

void BM_ExamineeHistory(benchmark::State &state)
{
    School &s = school();
    QuietMessages messages;
    ConsoleHooks hooks;
    History window(s.controller->history(), hooks, &messages, nullptr);
    int examinee = 0;
    for (auto _ : state) {
        const ArchivedRow row = keptRow(0, examinee);
        window.findExaminee(row.examNumber, row.name);
        examinee = (examinee + 1) % kExaminees;
    }
}
BENCHMARK(BM_ExamineeHistory)->Unit(benchmark::kMillisecond);

void BM_TermReport20(benchmark::State &state)
{
    School &s = school();
    const QString path = s.dir.filePath(QStringLiteral("学期报告.xlsx"));
    for (auto _ : state) {
        // Reading the exams is part of the report's work.
        QVector<ArchivedExam> exams;
        for (qint64 id = 1; id <= 20; ++id)
            exams.append(*keptExam(s.controller->history(), id).value);
        const termreport::Outcome outcome = termreport::write(exams, path, {});
        if (!outcome.problem.isEmpty())
            state.SkipWithError(qPrintable(outcome.problem));
    }
    state.counters["report_KB"] = double(QFileInfo(path).size()) / 1024;
}
BENCHMARK(BM_TermReport20)->Unit(benchmark::kMillisecond);

}  // namespace
