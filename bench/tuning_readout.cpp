// SPDX-License-Identifier: GPL-3.0-or-later
// CPU cost of tuning and reading one test point, beyond the prescribed waits:
// the link, the handshake and the simulated analyser run on the virtual
// clock, so every wait costs no real time and what is measured is the work
// the station does around them.
#include "instrument/measurement_readout.h"
#include "instrument/tuners.h"
#include "support/sample_test_point.h"
#include "support/sim_fixture.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

struct Standard {
    const char* type;
    const char* band;
    const char* mhz;
};

constexpr std::array<Standard, 11> kStandards{{
    {"DVB-T/H", "TER", "474"}, {"DVB-T2", "TER", "482"}, {"8-VSB", "TER", "503"},  {"ISDB-T", "TER", "521"},
    {"DVB-C", "TER", "306"},   {"J-83", "TER", "333"},   {"DTMB", "TER", "530"},   {"DVB-S", "SAT", "1100"},
    {"DVB-S2", "SAT", "1750"}, {"DSS", "SAT", "1300"},   {"Analog", "TER", "175.25"},
}};

TestPoint Point(const Standard& s)
{
    TestPoint tp = SampleTestPoint(s.type, s.band, s.mhz);
    tp.system = QStringLiteral("Pal BG");
    return tp;
}

// One visit's instrument work for each standard in turn, so every standard
// selection and every parameter is sent (the analyser never stays locked).
void BM_TuneAndReadEveryStandard(benchmark::State& state)
{
    SimFixture f;
    f.analyser->SetSettlingMs(60000);
    LinkCommands<AnalyserLink> commands(f.link);
    InstrumentSession session(commands, f.clock, [] { return false; });
    qint64 virtualMs = 0;
    for (auto _ : state) {
        const qint64 start = f.clock.ElapsedMs();
        for (const Standard& s : kStandards) {
            const TestPoint tp = Point(s);
            TuneTestPoint(session, tp);
            MeasurementValues values;
            ReadMeasurements(session, tp, true, values);
            benchmark::DoNotOptimize(values);
        }
        f.analyser->ClearReceivedCommands();
        virtualMs += f.clock.ElapsedMs() - start;
    }
    state.counters["visits"] = benchmark::Counter(double(state.iterations() * kStandards.size()));
    state.counters["cpu_per_visit_us"] = benchmark::Counter(
        double(state.iterations() * kStandards.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["virtual_s_per_visit"] =
        double(virtualMs) / 1000.0 / double(state.iterations() * kStandards.size());
}
BENCHMARK(BM_TuneAndReadEveryStandard)->Unit(benchmark::kMillisecond);

// A visit of the single test point loop after the first: no tuning, no
// settling wait, only the five queries.
void BM_ReadWithoutTuning(benchmark::State& state)
{
    SimFixture f;
    f.analyser->SetSettlingMs(0);
    LinkCommands<AnalyserLink> commands(f.link);
    InstrumentSession session(commands, f.clock, [] { return false; });
    const TestPoint tp = Point(kStandards[0]);
    TuneTestPoint(session, tp);
    for (auto _ : state) {
        MeasurementValues values;
        ReadMeasurements(session, tp, false, values);
        benchmark::DoNotOptimize(values);
        f.analyser->ClearReceivedCommands();
    }
}
BENCHMARK(BM_ReadWithoutTuning)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
