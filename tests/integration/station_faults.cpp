// SPDX-License-Identifier: GPL-3.0-or-later
// One pass of vigilo-station against vigilo-analyser-sim per analyser fault:
// the run ends or goes on as the protocol says, within its time-outs, and
// every value it stores is the analyser's reading or 0.

#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/station_process.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <cmath>

namespace {
// Three channels on the air at known levels; the simulator reads them back
// within ±0.3 dB, C/N 25 dB below, MER 1 dB below C/N.
constexpr double kLevels[] = {62.0, 55.0, 48.0};

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A stored value is either what the analyser reads for the channel or 0.
void ExpectReadingOrZero(const QMap<QString, QString>& row, int channel)
{
    const double level = kLevels[channel];
    const struct {
        const char* field;
        double expected;
    } checks[] = {{"LEVEL", level}, {"C/N", level - 25.0}, {"MER", level - 26.0}};
    for (const auto& check : checks) {
        const double value = row.value(check.field).toDouble();
        EXPECT_TRUE(value == 0.0 || std::abs(value - check.expected) <= 0.31)
            << "channel " << channel << " " << check.field << "=" << row.value(check.field).toStdString();
    }
}

enum class Outcome { Refused, Measured, MeasuredAsZeroAfterLoss, Recovered };

struct FaultCase {
    const char* name;
    QStringList simArguments;
    Outcome outcome;
    int withinMs;  // the whole pass, start to exit, on a loaded machine
};

class AnalyserFault : public testing::TestWithParam<FaultCase> {};

TEST_P(AnalyserFault, ThePassEndsOrGoesOnAsTheProtocolSays)
{
    const FaultCase c = GetParam();
    TempProgramFolder folder;
    const QString scenario = folder.File("air.txt");
    WriteFile(scenario, "474 62.0\n482 55.0\n490 48.0\n");
    const QString csv = folder.File("three.csv");
    WriteFile(csv, "ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "23;490;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    SimProcess sim(folder.Path(), QStringList{"--com", "4", "--settling", "200", "--scenario", scenario} +
                                      c.simArguments);
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString measurements = folder.File("run.db");

    // The cable is pulled once the run is under way and, for a replug, put
    // back once the station has noticed.
    bool pulled = false;
    bool pluggedBack = false;
    const bool pull = c.outcome == Outcome::MeasuredAsZeroAfterLoss || c.outcome == Outcome::Recovered;
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", measurements, "--port", "COM4",
         "--loops", "1"},
        c.withinMs, [&](const QString& line, QProcess&) {
            if (pull && !pulled && line == "status: RUNNING") {
                pulled = true;
                sim.Signal(SIGUSR1);
            } else if (c.outcome == Outcome::Recovered && pulled && !pluggedBack && line == "status: ANALYSER LOST") {
                pluggedBack = true;
                sim.Signal(SIGUSR2);
            }
        });
    SCOPED_TRACE(result.lines.join('\n').toStdString() + "\n" + result.errors.toStdString());
    RecordProperty("elapsed_ms", std::to_string(result.elapsedMs));

    const auto rows = QFile::exists(measurements) ? StoredRows(measurements) : std::vector<QMap<QString, QString>>{};
    if (c.outcome == Outcome::Refused) {
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_TRUE(result.errors.contains("has not detected ORBIMETER"));
        EXPECT_EQ(rows.size(), 0u);
        return;
    }
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.lines.contains("status: STOPPED"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(result.Rows().size(), 3);
    for (int i = 0; i < 3; ++i)
        ExpectReadingOrZero(rows[i], i);

    switch (c.outcome) {
    case Outcome::Measured:
        for (int i = 0; i < 3; ++i)
            EXPECT_GT(rows[i]["LEVEL"].toDouble(), 0.0) << "channel " << i;
        EXPECT_FALSE(result.lines.contains("status: ANALYSER LOST"));
        break;
    case Outcome::MeasuredAsZeroAfterLoss:
        EXPECT_TRUE(result.lines.contains("status: ANALYSER LOST"));
        // Pulled during the first visit: the later ones cannot measure.
        EXPECT_EQ(rows[1]["LEVEL"].toDouble(), 0.0);
        EXPECT_EQ(rows[2]["LEVEL"].toDouble(), 0.0);
        break;
    case Outcome::Recovered: {
        ASSERT_TRUE(pluggedBack);
        const qsizetype lost = result.lines.indexOf("status: ANALYSER LOST");
        EXPECT_GE(result.lines.indexOf("status: RUNNING", lost), 0) << "running again after the loss";
        EXPECT_EQ(rows[1]["LEVEL"].toDouble(), 0.0) << "the visit that found the analyser gone";
        EXPECT_GT(rows[2]["LEVEL"].toDouble(), 0.0) << "measured again once plugged back in";
        break;
    }
    case Outcome::Refused: break;
    }
}

// Time-outs: a command waits up to 12 silent reads of 2 s for XON, so the
// silent faults are refused after about 24 s; the working ones take three
// visits of about 8 s each (tuning waits and the 5 s settling).
INSTANTIATE_TEST_SUITE_P(
    Matrix, AnalyserFault,
    testing::Values(FaultCase{"NoXon", {"--faults", "no-xon"}, Outcome::Refused, 60000},
                    FaultCase{"Refusal", {"--faults", "refuse"}, Outcome::Refused, 15000},
                    FaultCase{"Silence", {"--faults", "silent"}, Outcome::Refused, 60000},
                    FaultCase{"Noise", {"--faults", "noise=7"}, Outcome::Measured, 120000},
                    FaultCase{"CrLfReplies", {"--faults", "crlf"}, Outcome::Measured, 120000},
                    FaultCase{"SlowReplies", {"--faults", "slow=1500"}, Outcome::Measured, 240000},
                    FaultCase{"BlockInPieces", {"--faults", "block-pieces=64:300"}, Outcome::Measured, 120000},
                    FaultCase{"ShortBlock", {"--faults", "block-short=100"}, Outcome::Measured, 120000},
                    FaultCase{"UnplugMidRun", {}, Outcome::MeasuredAsZeroAfterLoss, 120000},
                    FaultCase{"UnplugAndReplug", {}, Outcome::Recovered, 120000}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

}  // namespace
