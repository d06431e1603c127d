// SPDX-License-Identifier: GPL-3.0-or-later
// A week of unattended running, compressed: 100 000 visits of a continuous
// run on the virtual clock against the in-process simulated analyser, every
// row stored durably, each test point's alarm on with thresholds its level
// always breaks, so every visit evaluates and mails an alarm, and a position
// stamped on every row. Resident memory and open file descriptors are read
// once the caches have filled and again at the end: they must stay flat
// (under 1 MB of growth, the same descriptors). The alarm evaluation is the
// run host's hook; here it is a stand-in that reads the thresholds and mails
// through a counting mailer, so neither side keeps what it was given.
//
//   build/bin/bench_soak                       # 100 000 visits
//   build/bin/bench_soak --benchmark_filter=/20000   # a shorter soak
#include "unit/acquisition/run_fixture.h"

#include "notify/mailer.h"
#include "platform/fields.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {
// Resident set in kB, from /proc/self/statm.
long ResidentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

int OpenDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

class CountingMailer final : public Mailer {
public:
    bool SendAlarmMail(const QString&, const QStringList& bodyLines) override
    {
        ++alarms;
        bodyLinesSeen += bodyLines.size();
        return true;
    }
    bool SendReportMail(const QString&, const QStringList&) override { return true; }
    long alarms = 0;
    long bodyLinesSeen = 0;
};

// The run host of a station nobody watches: it keeps nothing of what it is
// told (the recording host of the tests keeps every panel text).
class SoakHost final : public RunHost, public GpsReader {
public:
    SoakHost(SimFixture& sim, Dataset& testPoints, Dataset& measurements, Mailer& mailer)
        : m_sim(sim), m_testPoints(testPoints), m_measurements(measurements), m_mailer(mailer), m_commands(sim.link)
    {
    }

    bool StopRequested() const override { return stopDown; }
    void SetStopDown() override { stopDown = true; }
    void SetStopUp() override { stopDown = false; }
    void QueueRunPress() override {}
    void ShowPanel(const std::optional<QString>& text, PanelColour) override
    {
        if (text)
            panel = *text;
    }
    OperModeAccess& OperMode() override { return mode; }
    AutoAlarmAccess& AutoAlarm() override { return autoAlarm; }
    Dataset* TestPointTable() override { return &m_testPoints; }
    Dataset* MeasurementsTable() override { return &m_measurements; }
    AnalyserCommands& Analyser() override { return m_commands; }
    bool IdentifyAnalyser() override
    {
        QByteArray buffer("*?NA");
        return m_sim.link.IdentifyAnalyser(buffer);
    }
    TSerialPort* AnalyserPort() override { return &m_sim.link.Port(); }
    GpsReader& Gps() override { return *this; }
    bool ReceptionEnabled() const override { return true; }
    bool ReadGpsFix(GpsFix& fix) override
    {
        fix = {QStringLiteral("4807.038"), QStringLiteral("N"), QStringLiteral("01131.000"), QStringLiteral("E")};
        return true;
    }
    void RunEventOccurred(RunEvent) override {}
    void ShowEndOfProcess() override {}
    void DisablePeriodicReports() override {}
    void ArmPeriodicReports(int, bool) override {}

    // Stand-in for the alarm evaluation: the level against the test point's
    // window, "YES" and one mail when it is outside.
    void EvaluateAlarms() override
    {
        const double level = m_measurements.Number(QString::fromUtf8(fields::kLevel));
        const double low = m_testPoints.Number(QString::fromUtf8(fields::kMinLV));
        const double high = m_testPoints.Number(QString::fromUtf8(fields::kMaxLV));
        if (level >= low && level <= high)
            return;
        m_measurements.SetText(QString::fromUtf8(fields::kWarning), QStringLiteral("YES"));
        m_mailer.SendAlarmMail(QStringLiteral("Alarm ch %1").arg(m_testPoints.Text(QStringLiteral("ch"))),
                               {QStringLiteral("LEVEL %1 outside %2..%3").arg(level).arg(low).arg(high)});
    }
    void RowStored(const Dataset&) override
    {
        ++rows;
        if (onRow)
            onRow();
    }

    OperModeValues mode;
    AutoAlarmValues autoAlarm;
    bool stopDown = true;
    QString panel;
    long rows = 0;
    std::function<void()> onRow;

private:
    SimFixture& m_sim;
    Dataset& m_testPoints;
    Dataset& m_measurements;
    Mailer& m_mailer;
    LinkCommands<AnalyserLink> m_commands;
};

void BM_Soak(benchmark::State& state)
{
    const long visits = state.range(0);
    // The caches fill during the first visits: SQLite's page cache of the
    // growing table (2 MB, about 14 000 rows of this table) and the
    // allocator's arenas. Flat means flat after that.
    const long warmUp = 20000;
    for (auto _ : state) {
        RunFixture f;
        f.sim.analyser->SetSettlingMs(0);
        for (const char* mhz : {"474", "482"}) {
            auto point = DvbtPoint("21", QString::fromLatin1(mhz));
            point["alarm"] = "ON";
            point["minLV"] = "90";  // no level reaches it: every visit raises an alarm
            point["maxLV"] = "99";
            f.AddPoint(point);
        }
        CountingMailer mailer;
        SoakHost host(f.sim, f.testPoints, f.measurements, mailer);
        host.mode.mode = RepeatMode::Continuous;
        MeasurementRun run(f.station, host);
        f.ceiling.MoveTo(200LL * 24 * 3600 * 1000);  // far beyond any soak here

        long startKb = 0;
        int startFds = 0;
        host.onRow = [&] {
            // The simulator's own logs of what it was sent are test
            // instruments, not the station's memory.
            f.sim.analyser->ClearReceivedCommands();
            f.sim.ports.StateOf(1).written.clear();
            f.sim.ports.StateOf(1).purges.clear();
            if (host.rows == warmUp) {
                startKb = ResidentKb();
                startFds = OpenDescriptors();
            }
            if (host.rows == warmUp + visits)
                host.stopDown = true;
        };
        run.RunMeasureBtnClick();
        const long endKb = ResidentKb();
        const int endFds = OpenDescriptors();

        state.counters["visits"] = static_cast<double>(host.rows - warmUp);
        state.counters["alarm_mails"] = static_cast<double>(mailer.alarms);
        state.counters["rss_start_kb"] = static_cast<double>(startKb);
        state.counters["rss_end_kb"] = static_cast<double>(endKb);
        state.counters["rss_growth_kb"] = static_cast<double>(endKb - startKb);
        state.counters["fds_start"] = startFds;
        state.counters["fds_end"] = endFds;
        state.counters["virtual_days"] = f.sim.clock.ElapsedMs() / 86400000.0;
        if (host.rows != warmUp + visits || mailer.alarms != host.rows)
            state.SkipWithError("the run did not store and mail every visit");
        else if (endKb - startKb >= 1024)
            state.SkipWithError("resident memory grew by 1 MB or more");
        else if (endFds != startFds)
            state.SkipWithError("open file descriptors changed");
    }
}
BENCHMARK(BM_Soak)->Arg(100000)->Arg(20000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
