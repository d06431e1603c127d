// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-program start-up: a fresh process runs the station's real start-up
// (splash, main window with its 2 s splash wait, every window, settings
// loader) on the offscreen platform and exits as soon as the main window is
// shown. The benchmark times the process from launch to exit.
#include "app/program_ui.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSplashWaitMs = 2000;

void BM_StartUpToMainWindowShown(benchmark::State& state)
{
    const QString self = QString::fromLocal8Bit(qgetenv("VIGILO_BENCH_SELF"));
    for (auto _ : state) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        child.start(self, {QStringLiteral("--child")});
        child.waitForFinished(30000);
        const double seconds = timer.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["beyond_splash_wait_ms"] = seconds * 1000.0 - kSplashWaitMs;
        if (child.exitCode() != 0)
            state.SkipWithError("start-up failed");
    }
}
BENCHMARK(BM_StartUpToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        // Leave at once: what follows the first paint is not start-up.
        return RunVigilo(childArgc, argv, [] { std::_Exit(0); });
    }
    qputenv("VIGILO_BENCH_SELF", argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
