// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-station's exploration options against vigilo-analyser-sim on real
// pseudo-terminals: the list in the window's order, the import into a set
// and into the working copy with the LNB output correction, and the
// failures a script must see.
#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
const QString kBin = QStringLiteral(VIGILO_PROGRAM_DIR);

struct StationResult {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

StationResult RunStation(const QString& folder, const QStringList& arguments)
{
    QProcess station;
    station.start(kBin + QStringLiteral("/vigilo-station"),
                  QStringList{QString::fromLatin1(SimProcess::kStationPortsOnly), "--folder", folder, "--port",
                              "COM3"} +
                      arguments);
    StationResult result;
    if (!station.waitForFinished(120000)) {
        station.kill();
        station.waitForFinished(5000);
        ADD_FAILURE() << "the station did not end in time";
    }
    result.lines = QString::fromUtf8(station.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(station.readAllStandardError());
    result.exitCode = station.exitStatus() == QProcess::NormalExit ? station.exitCode() : -1;
    return result;
}

using Row = QMap<QString, QString>;

std::vector<Row> StoredRows(const QString& path)
{
    std::vector<Row> rows;
    Dataset table(QString(), path);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        Row row;
        for (const QString& name : table.FieldNames())
            row[name] = table.Text(name);
        rows.push_back(row);
    }
    return rows;
}

TEST(ExplorationOnSimulator, ListsAndImportsASatelliteExplorationWithTheLnbCorrection)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3"});
    ASSERT_TRUE(sim.Ready());

    const StationResult list = RunStation(folder.Path(), {"--list-explorations", "SAT"});
    ASSERT_EQ(list.exitCode, 0) << list.errors.toStdString();
    EXPECT_EQ(list.lines.filter(QRegularExpression("^SAT-")), (QStringList{"SAT-WEST", "SAT-EAST"}));

    const QString set = folder.File("sat.db");
    const StationResult import = RunStation(
        folder.Path(), {"--import-exploration", "SAT-WEST", "--band", "SAT", "--testpoints", set, "--high-osc", "10700"});
    ASSERT_EQ(import.exitCode, 0) << import.errors.toStdString();
    EXPECT_TRUE(import.lines.contains(QStringLiteral("added: 11 channels from SAT-WEST into %1").arg(set)))
        << import.lines.join('\n').toStdString();

    const std::vector<Row> rows = StoredRows(set);
    ASSERT_EQ(rows.size(), 11u);
    // What the simulator's records say, at the LNB output (low 9750, high 10700).
    const struct {
        const char* ch;
        const char* freq;
        const char* type;
        const char* lnb;
        const char* symbolRate;
        const char* modulation;
        const char* codeRate;
        const char* system;
    } expected[] = {
        {"W01", "979", "DVB-S2", "18v", "22000", "QPSK", "1/2", ""},
        {"W02", "1136", "DVB-S2", "13v22khz", "29700", "8PSK", "4/5", ""},
        {"W03", "1488", "DVB-S2", "18v22khz", "27500", "8PSK", "6/7", ""},
        {"W09", "1567", "DVB-S2", "13v", "27500", "8PSK", "9/10", ""},
        {"DSS-1", "1524", "DSS", "13v22khz", "20000", "", "5/6", "Satellite"},
        {"ANA-1", "1745", "Analog", "18v", "", "", "", "Satellite"},
    };
    QMap<QString, Row> byCh;
    for (const Row& row : rows) {
        byCh[row["ch"]] = row;
        EXPECT_EQ(row["band"], "SAT");
        EXPECT_EQ(row["plan"], "SAT-WEST");
        EXPECT_EQ(row["alarm"], "OFF");
        EXPECT_EQ(row["minCBER"], "OFF");
        EXPECT_EQ(row["maxLV"], "0");
    }
    for (const auto& e : expected) {
        ASSERT_TRUE(byCh.contains(e.ch)) << e.ch;
        const Row& row = byCh[e.ch];
        EXPECT_EQ(row["freq"], e.freq) << e.ch;
        EXPECT_EQ(row["type"], e.type) << e.ch;
        EXPECT_EQ(row["lnb"], e.lnb) << e.ch;
        EXPECT_EQ(row["symbol rate"], e.symbolRate) << e.ch;
        EXPECT_EQ(row["modulation"], e.modulation) << e.ch;
        EXPECT_EQ(row["code rate"], e.codeRate) << e.ch;
        EXPECT_EQ(row["system"], e.system) << e.ch;
    }

    // A second import appends to the set given.
    const StationResult again =
        RunStation(folder.Path(), {"--import-exploration", "SAT-EAST", "--band", "SAT", "--testpoints", set});
    ASSERT_EQ(again.exitCode, 0) << again.errors.toStdString();
    const std::vector<Row> after = StoredRows(set);
    ASSERT_EQ(after.size(), 14u);
    EXPECT_EQ(after[11]["ch"], "TP1");
    EXPECT_EQ(after[11]["freq"], "1178") << "18v22khz: 11778 MHz less the default 10600";
    EXPECT_EQ(after[0]["freq"], "979") << "earlier rows keep their values";
}

TEST(ExplorationOnSimulator, ImportsATerrestrialExplorationIntoTheWorkingCopy)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--faults", "block-pieces=64:200,block-stall=3000"});
    ASSERT_TRUE(sim.Ready());
    const StationResult list = RunStation(folder.Path(), {"--list-explorations", "TER"});
    ASSERT_EQ(list.exitCode, 0) << list.errors.toStdString();
    EXPECT_EQ(list.lines.filter(QRegularExpression("^C")), (QStringList{"CABLE-NET", "CITY-UHF"}));

    const StationResult import =
        RunStation(folder.Path(), {"--import-exploration", "CABLE-NET", "--band", "TER", "--language", "spanish"});
    ASSERT_EQ(import.exitCode, 0) << import.errors.toStdString();
    const std::vector<Row> rows = StoredRows(WorkingCopyPath());
    ASSERT_EQ(rows.size(), 19u);
    QMap<QString, Row> byCh;
    for (const Row& row : rows)
        byCh[row["ch"]] = row;
    EXPECT_EQ(byCh["S23"]["symbol rate"], "6875");
    EXPECT_EQ(byCh["S23"]["modulation"], "16QAM");
    EXPECT_EQ(byCh["S23"]["inv.spectral"], "ON");
    EXPECT_EQ(byCh["ISDB-20"]["freq"], "515.143");
    EXPECT_EQ(byCh["ISDB-20"]["g.interval"], "1/32");
    EXPECT_EQ(byCh["DTMB-33"]["carrier"], "4K");
    EXPECT_EQ(byCh["C40"]["bw"], "7");
    EXPECT_EQ(byCh["SEC-L"]["system"], "Secam L");
    EXPECT_EQ(byCh["SEC-L"]["freq"], "495.25");
    EXPECT_EQ(byCh["NTSC-2"]["system"], "NTSC M");
    EXPECT_EQ(byCh["PAL-I"]["lnb"], "External");
    EXPECT_EQ(byCh["VSB-14"]["type"], "8-VSB");
    EXPECT_EQ(byCh["J83-40"]["type"], "J-83");
    for (const Row& row : rows)
        EXPECT_EQ(row["band"], "TER") << row["ch"].toStdString();
}

TEST(ExplorationOnSimulator, FailuresEndWithTheWindowsMessage)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--faults", "block-stall=600000"});
    ASSERT_TRUE(sim.Ready());
    const StationResult usage = RunStation(folder.Path(), {"--import-exploration", "CITY-UHF"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.errors.contains("--band")) << usage.errors.toStdString();

    const QString set = folder.File("t.db");
    const StationResult unknown =
        RunStation(folder.Path(), {"--import-exploration", "NOPE", "--band", "TER", "--testpoints", set});
    EXPECT_EQ(unknown.exitCode, 5);
    EXPECT_TRUE(unknown.errors.contains("CABLE-NET, CITY-UHF")) << unknown.errors.toStdString();

    // Last: the stalled analyser keeps quiet long after.
    const StationResult stalled =
        RunStation(folder.Path(), {"--import-exploration", "CITY-UHF", "--band", "TER", "--testpoints", set});
    EXPECT_EQ(stalled.exitCode, 5);
    EXPECT_TRUE(stalled.errors.contains("Process failure: repeat acquisition")) << stalled.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(set)) << "nothing was saved";
}
}  // namespace
