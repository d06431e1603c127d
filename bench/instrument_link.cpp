// SPDX-License-Identifier: GPL-3.0-or-later
// One Query round trip over a pseudo-terminal against the simulated analyser
// (the protocol's own 100 ms pause subtracted), and the CPU a byte wait
// costs while nothing arrives.

#include "instrument/analyser_link.h"
#include "instrument/posix_serial_device.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "sim/analyser_sim.h"
#include "sim/pty_server.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

// The simulator served on a pty from a thread of its own, linked as COM1.
struct ServedAnalyser {
    explicit ServedAnalyser(std::shared_ptr<SimAnalyser> model)
    {
        SetProgramFolder(dir.path());
        server.Add(std::move(model), dir.filePath(QStringLiteral("ports/COM1")));
        thread = std::thread([this] { server.Run(stop); });
        link.Port().SelectPort(0);
        opened = link.Port().Open();
        link.Port().Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
    }
    ~ServedAnalyser()
    {
        link.Port().Close();
        stop = true;
        thread.join();
        SetProgramFolder(QString());
    }
    QTemporaryDir dir;
    PtyServer server;
    std::atomic<bool> stop{false};
    std::thread thread;
    QtEventPump pump;
    int modelCode = -1;
    AnalyserLink link{pump, PosixSerialDeviceFactory(pump, false), modelCode};
    bool opened = false;
};

void BM_QueryRoundTripOverPty(benchmark::State& state)
{
    ServedAnalyser served(std::make_shared<SimAnalyser>());
    if (!served.opened) {
        state.SkipWithError("no pty");
        return;
    }
    for (auto _ : state) {
        QByteArray buffer("*?LV");
        const auto start = std::chrono::steady_clock::now();
        const bool ok = served.link.Query(buffer);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!ok) {
            state.SkipWithError("query failed");
            return;
        }
        state.SetIterationTime(took.count() - AnalyserLink::kQueryPauseMs / 1000.0);
    }
}
BENCHMARK(BM_QueryRoundTripOverPty)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ByteWaitCpuWhileSilent(benchmark::State& state)
{
    auto model = std::make_shared<SimAnalyser>();
    model->faults.silent = true;
    ServedAnalyser served(model);
    if (!served.opened) {
        state.SkipWithError("no pty");
        return;
    }
    double cpuSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        char byte = 0;
        benchmark::DoNotOptimize(served.link.Port().ReadOneByte(byte));  // one 2 s wait
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds += double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }
    state.counters["cpu_ms_per_2s_wait"] = 1000.0 * cpuSeconds / state.iterations();
    state.counters["cpu_percent"] = 100.0 * cpuSeconds / wallSeconds;
}
BENCHMARK(BM_ByteWaitCpuWhileSilent)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
