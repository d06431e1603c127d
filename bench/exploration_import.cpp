// SPDX-License-Identifier: GPL-3.0-or-later
// The largest exploration the station takes (a block just under 25 000
// bytes): decoding it, and appending its rows to a test point set with the
// LNB output correction, in one transaction as the import does.

#include "platform/program_folder.h"
#include "sim/exploration_block.h"
#include "testpoints/dataset.h"
#include "testpoints/exploration_import.h"
#include "testpoints/table_layouts.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
using I = ExplorationItem;

// Satellite records of 31 bytes each, as many as fit under 25 000 bytes.
QByteArray LargestBlock()
{
    QList<ExplorationChannel> channels;
    const ExplorationChannel record{"TP", 0, 11778000, {I::Code(2, 7), I::Code(3, 4, 1), I::Number(5, 27500000)}};
    while (EncodeExplorationBlock(channels + QList<ExplorationChannel>{record}).size() <
           ExplorationImporter::kBlockBuffer)
        channels.append(record);
    return EncodeExplorationBlock(channels);
}

void BM_DecodeLargestBlock(benchmark::State& state)
{
    const QByteArray block = LargestBlock();
    size_t channels = 0;
    for (auto _ : state) {
        const DecodedExploration decoded = DecodeExplorationBlock(block);
        channels = decoded.channels.size();
        benchmark::DoNotOptimize(channels);
    }
    state.counters["channels"] = static_cast<double>(channels);
    state.counters["bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_DecodeLargestBlock)->Unit(benchmark::kMicrosecond);

void BM_AppendAndCorrectLargestExploration(benchmark::State& state)
{
    const DecodedExploration decoded = DecodeExplorationBlock(LargestBlock());
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    Dataset table(QString(), dir.filePath(QStringLiteral("tp.db")));
    for (auto _ : state) {
        state.PauseTiming();
        if (table.IsOpen())
            table.Close();
        table.CreateTable(TestPointFields());
        table.Open();
        state.ResumeTiming();
        AppendExplorationRows(table, decoded.channels, QStringLiteral("BENCH"), TerSat::Sat);
        CorrectToLnbOutput(table, 0, Oscillators{});
    }
    state.counters["rows"] = static_cast<double>(table.RecordCount());
    table.Close();
    SetProgramFolder(QString());
}
BENCHMARK(BM_AppendAndCorrectLargestExploration)->Unit(benchmark::kMillisecond)->Iterations(5);
}  // namespace

BENCHMARK_MAIN();
