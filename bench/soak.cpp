// SPDX-License-Identifier: GPL-3.0-or-later
// A week of unattended running, compressed: 100 000 visits of a continuous
// run on the virtual clock against the in-process simulated analyser, every
// row stored durably, each test point's alarm on with thresholds its level
// always breaks, so every visit evaluates and mails an alarm, and a position
// stamped on every row. Resident memory and open file descriptors are read
// once the caches have filled and again at the end: they must stay flat
// (under 1 MB of growth, the same descriptors). The alarm evaluation is the
// station's own, with mailing on, sending through a counting mailer that
// keeps nothing of what it is given.
//
//   build/bin/bench_soak                       # 100 000 visits
//   build/bin/bench_soak --benchmark_filter=/20000   # a shorter soak
#include "unit/acquisition/run_fixture.h"

#include "alarms/alarm_evaluation.h"
#include "notify/mailer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThreadPool>
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

// Qt's raster painter draws big shapes on pool threads (the report logo, once,
// as the workspace is built); idle, they end 30 s later and take their event
// descriptors with them. They are let go first, so a soak shorter or longer
// than that compares the station's own descriptors.
int OpenDescriptors()
{
    QThreadPool::globalInstance()->waitForDone();
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

    // The station's own evaluation, mailing on: every rule that fires builds
    // its body and sends through the counting mailer.
    void EvaluateAlarms() override
    {
        fired += ::EvaluateAlarms(m_testPoints, m_measurements, mail, &m_mailer, QStringLiteral("Measure Point : Soak"));
    }
    void RowStored(const Dataset&) override
    {
        ++rows;
        if (onRow)
            onRow();
    }

    OperModeValues mode;
    AutoAlarmValues autoAlarm;
    AlarmMailValues mail;
    long fired = 0;
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
        host.mail.sendAlarm = true;
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
        // The figures go with the failure: a skipped benchmark prints no counters.
        if (host.rows != warmUp + visits || host.fired < host.rows || mailer.alarms != host.fired)
            state.SkipWithError(QStringLiteral("the run did not store every visit and mail every alarm: "
                                               "%1 rows, %2 alarms, %3 mails")
                                    .arg(host.rows).arg(host.fired).arg(mailer.alarms).toStdString().c_str());
        else if (endKb - startKb >= 1024)
            state.SkipWithError(QStringLiteral("resident memory grew by 1 MB or more: %1 kB to %2 kB")
                                    .arg(startKb).arg(endKb).toStdString().c_str());
        else if (endFds != startFds)
            state.SkipWithError(QStringLiteral("open file descriptors changed: %1 to %2")
                                    .arg(startFds).arg(endFds).toStdString().c_str());
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
