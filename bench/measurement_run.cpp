// SPDX-License-Identifier: GPL-3.0-or-later
// The run's own cost:
// - CPU time of one whole visit (tuning, readout, the Measurements row with
//   its copied fields, stored durably) beyond the prescribed waits: the
//   simulated analyser and every wait run on the virtual clock, so what is
//   timed is the work around the waits;
// - CPU used while a 10 s countdown wait runs in real time on the Qt event
//   loop (the window must stay live without spinning).
#include "unit/acquisition/run_fixture.h"

#include "platform/event_pump.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace {

void BM_VisitBeyondWaits(benchmark::State& state, const char* type, const char* band, const char* mhz)
{
    RunFixture f;
    auto point = DvbtPoint("21", mhz);
    point["type"] = type;
    point["band"] = band;
    point["system"] = QString::fromLatin1(type) == QLatin1String("Analog") ? "Pal BG" : "";
    point["symbol rate"] = "27500";
    point["modulation"] = "8PSK";
    point["code rate"] = "3/4";
    point["lnb"] = "13v";
    f.AddPoint(point);
    f.host.stopDown = false;
    f.testPoints.Close();
    f.testPoints.Open();
    int visit = 0;
    for (auto _ : state)
        f.run.MeasureTestPoint(++visit);
    state.counters["virtual_s_per_visit"] = f.sim.clock.ElapsedMs() / 1000.0 / visit;
}
BENCHMARK_CAPTURE(BM_VisitBeyondWaits, DvbTH, "DVB-T/H", "TER", "474")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_VisitBeyondWaits, DvbS2, "DVB-S2", "SAT", "1389")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_VisitBeyondWaits, Analog, "Analog", "TER", "175.25")->Unit(benchmark::kMillisecond);

void BM_CountdownCpu(benchmark::State& state)
{
    RunFixture f;  // the host and tables; the pump below is the real one
    QtEventPump pump;
    Workspace station{pump, f.modal, f.system, f.settings};
    MeasurementRun run(station, f.host);
    f.host.stopDown = false;
    const int seconds = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        run.CountdownWait(seconds);
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
        state.counters["cpu_ms"] = cpuMs;
        state.counters["cpu_percent"] = 100.0 * cpuMs / wallMs;
        state.counters["wall_ms"] = wallMs;
    }
}
BENCHMARK(BM_CountdownCpu)->Arg(10)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
