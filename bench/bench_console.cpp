// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Collection of result files into the results table, and export of the
// table to a workbook, at classroom and far-beyond-classroom sizes.
#include "collect/resultcollector.h"
#include "export/resultexporter.h"
#include "exchange/resultfilename.h"
#include "exchange/resultrecord.h"
#include "collect/resultstore.h"
#include "exchange/transcode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

ResultRecord sampleRecord(int i)
{
    ResultRecord record;
    record.speed = 20.0f + (i * 37 % 1000) / 10.0f;
    record.accuracy = 90.0f + (i % 100) / 10.0f;
    record.timePass = 600;
    record.targetLen = 1200;
    record.typedLen = 1100;
    record.department = QStringLiteral("计算机%1班").arg(i % 30);
    record.examNumber = QStringLiteral("2026%1").arg(i, 5, 10, QLatin1Char('0'));
    record.name = QStringLiteral("考生%1").arg(i);
    return record;
}

void fillExchangeFolder(const QString &folder, int files)
{
    for (int i = 0; i < files; ++i) {
        const ResultRecord record = sampleRecord(i);
        QFile file(QDir(folder).filePath(
                resultname::forIdentity(record.department, record.examNumber, record.name)));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write a result file");
        file.write(transcodeBytes(record.toRecordLines(), kExchangeKey));
    }
}

// A console's results table and collector over an exchange folder whose
// files are on disk before the clock runs, as uploads of an exam would be;
// otherwise their write-back is what gets measured.
struct Collection
{
    QTemporaryDir app, work;
    ResultStore store { work.filePath(QStringLiteral("cj.mdb")) };
    ResultCollector collector;

    explicit Collection(const QString &exchange) : collector(exchange, app.path(), store)
    {
#ifdef Q_OS_UNIX
        ::sync();
#endif
    }
};

void BM_CollectResults(benchmark::State &state)
{
    const int files = static_cast<int>(state.range(0));
    QTemporaryDir exchange;
    fillExchangeFolder(exchange.path(), files);
    Collection collection(exchange.path());
    for (auto _ : state) {
        const CollectionReport report = collection.collector.collect();
        if (report.rowCount != files)
            state.SkipWithError("not every file was collected");
    }
    state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_CollectResults)
        ->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);

// A class's files and one upload of a record followed by 100 MB of CR: the
// collection must skip it without reading it. Run this benchmark alone
// (--benchmark_filter=HugeFile) for the peak memory to be its own.
void BM_CollectWithHugeFile(benchmark::State &state)
{
    constexpr int kFiles = 40;
    QTemporaryDir exchange;
    fillExchangeFolder(exchange.path(), kFiles);
    {
        QFile huge(exchange.filePath(QStringLiteral("huge.zip")));
        if (!huge.open(QIODevice::WriteOnly))
            qFatal("cannot write the large file");
        huge.write(transcodeBytes(sampleRecord(0).toRecordLines(), kExchangeKey));
        const QByteArray block = transcodeBytes(QByteArray(1 << 20, '\r'), kExchangeKey);
        for (int i = 0; i < 100; ++i)
            huge.write(block);
    }
    Collection collection(exchange.path());
    for (auto _ : state) {
        const CollectionReport report = collection.collector.collect();
        if (report.rowCount != kFiles || report.skipped.size() != 1)
            state.SkipWithError("the large file was not the one skipped");
    }
#ifdef Q_OS_UNIX
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
#endif
}
BENCHMARK(BM_CollectWithHugeFile)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);

void BM_ExportResults(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    QVector<ExportedRow> rows;
    for (int i = 0; i < count; ++i) {
        const ResultRecord record = sampleRecord(i);
        rows.append({ { i + 1, record.department, record.examNumber, record.name, record.speed,
                        QStringLiteral("98.5"), record.timePass },
                      false,
                      {},
                      {},
                      {},
                      {} });
    }
    QTemporaryDir folder;
    int n = 0;
    for (auto _ : state) {
        const QString problem =
                ResultExporter::write(rows, folder.filePath(QStringLiteral("r%1.xlsx").arg(n++)))
                        .problem;
        if (!problem.isEmpty())
            state.SkipWithError("the workbook could not be written");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ExportResults)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
