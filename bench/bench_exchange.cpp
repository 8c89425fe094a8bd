// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange files on the collector's hot path: reading a result record
// and unscrambling it.
#include "exchange/resultrecord.h"
#include "exchange/transcode.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray sampleRecord()
{
    ResultRecord record;
    record.speed = 56.25f;
    record.accuracy = 98.5f;
    record.timePass = 600;
    record.targetLen = 3000;
    record.typedLen = 2800;
    record.department = QStringLiteral("计算机系");
    record.examNumber = QStringLiteral("20260101");
    record.name = QStringLiteral("张三");
    return record.toRecordLines();
}

void BM_ReadResultRecord(benchmark::State &state)
{
    const QByteArray bytes = sampleRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(readResultRecord(bytes));
}
BENCHMARK(BM_ReadResultRecord);

void BM_WriteResultRecord(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(sampleRecord());
}
BENCHMARK(BM_WriteResultRecord);

void BM_TranscodeBytes(benchmark::State &state)
{
    const QByteArray bytes(int(state.range(0)), 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(transcodeBytes(bytes, kExchangeKey));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TranscodeBytes)->Arg(200)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
