// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-station against vigilo-analyser-sim on real pseudo-terminals: one
// pass over a set with one test point of every standard, the stop signal,
// and the failures a script must be able to tell apart.

#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/station_process.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <locale.h>

namespace {
const QString kDemoSet = QStringLiteral(VIGILO_SOURCE_DIR "/data/demo/demo_testpoints.csv");

constexpr char kCommaLocale[] = "es_ES.UTF-8";

bool CommaLocaleInstalled()
{
    locale_t probe = newlocale(LC_ALL_MASK, kCommaLocale, static_cast<locale_t>(nullptr));
    if (!probe)
        return false;
    freelocale(probe);
    return true;
}

TEST(StationOnSimulator, OnePassOverEveryStandardStoresItsRows)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--settling", "300", "--gps-com", "4", "--gps-period", "300"});
    ASSERT_TRUE(sim.Ready());
    const QString measurements = folder.File("run.db");

    // Under a decimal-comma locale where the machine has one: the station's
    // numbers must carry a point whatever the environment says.
    const QString locale = CommaLocaleInstalled() ? QString::fromLatin1(kCommaLocale) : QString();
    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", kDemoSet, "--testpoints",
                    folder.File("demo.db"), "--measurements", measurements, "--port", "COM3", "--gps", "COM4",
                    "--gps-baud", "4800"},
                   400000, {}, locale);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.lines.contains("status: RUNNING"));
    EXPECT_TRUE(result.lines.contains("status: STOPPED"));
    EXPECT_EQ(result.Rows().size(), 13);

    const auto rows = StoredRows(measurements);
    ASSERT_EQ(rows.size(), 13u);
    QMap<QString, QMap<QString, QString>> byCh;
    for (const auto& row : rows) {
        byCh[row["ch"]] = row;
        EXPECT_EQ(row["warning"], "NO");
        EXPECT_FALSE(row["Date"].isEmpty());
        EXPECT_FALSE(row["Hour"].isEmpty());
        EXPECT_FALSE(row["Latitude"].isEmpty()) << "stamped by the GPS receiver";
        EXPECT_NE(row["Latitude"], "--");
        EXPECT_FALSE(row["LEVEL"].isEmpty()) << row["ch"].toStdString();
        EXPECT_GT(row["LEVEL"].toDouble(), 0.0) << row["ch"].toStdString();
        for (auto field = row.cbegin(); field != row.cend(); ++field)
            EXPECT_FALSE(field.value().contains(QLatin1Char(',')))
                << row["ch"].toStdString() << " " << field.key().toStdString() << "=" << field.value().toStdString();
    }
    // What each standard measures, and where the bit error rates go.
    struct Expect {
        const char* ch;
        const char* type;
        QStringList filled;
        QStringList empty;
    };
    const std::vector<Expect> expected{
        {"21", "DVB-T/H", {"C/N", "MER", "CBER", "VBER"}, {"LBER", "V/A", "DESV FM"}},
        {"35", "DVB-T2", {"C/N", "MER", "CBER", "LBER"}, {"VBER"}},
        {"30", "8-VSB", {"C/N", "MER", "CBER", "VBER"}, {"LBER"}},
        {"20", "ISDB-T", {"MER", "CBER", "VBER", "layer"}, {"LBER"}},
        {"S21", "DVB-C", {"C/N", "MER", "VBER", "symbol rate"}, {"CBER", "LBER"}},
        {"40", "J-83", {"C/N", "MER", "VBER"}, {"CBER", "LBER"}},
        {"41", "DTMB", {"C/N", "MER", "LBER"}, {"CBER", "VBER"}},
        {"S1", "DVB-S", {"MER", "CBER", "VBER", "lnb", "code rate"}, {"LBER"}},
        {"S2", "DVB-S2", {"MER", "CBER", "LBER"}, {"VBER"}},
        {"S3", "DSS", {"MER", "CBER", "VBER"}, {"LBER"}},
        {"5", "Analog", {"C/N", "V/A", "DESV FM"}, {"MER", "CBER"}},
        {"FM", "Analog", {"DESV FM"}, {"C/N", "V/A", "MER"}},
        {"SA", "Analog", {"C/N"}, {"V/A", "DESV FM", "MER"}},
    };
    for (const Expect& e : expected) {
        ASSERT_TRUE(byCh.contains(e.ch)) << e.ch;
        const auto& row = byCh[e.ch];
        EXPECT_EQ(row["type"], e.type) << e.ch;
        for (const QString& f : e.filled)
            EXPECT_FALSE(row[f].isEmpty()) << e.ch << " " << f.toStdString();
        for (const QString& f : e.empty)
            EXPECT_TRUE(row[f].isEmpty()) << e.ch << " " << f.toStdString() << "=" << row[f].toStdString();
    }
    EXPECT_EQ(byCh["20"]["layer"], "A");
    EXPECT_EQ(byCh["S2"]["code rate"], "9/10");
}

// A receiver of several satellite systems names its fix "$GNGGA" and states
// five decimals of a minute: the row gets its position, the longitude cut to
// the field's ten characters.
TEST(StationOnSimulator, ACombinedGpsReceiverStampsTheRows)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "6", "--settling", "100", "--gps-com", "7", "--gps-period", "300",
                                   "--gps-talker", "GN", "--gps-position", "5130.12345,N,00007.54321,W"});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
    const QString csv = folder.File("one.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    const QString measurements = folder.File("run.db");
    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", csv, "--measurements", measurements, "--port",
                    "COM6", "--gps", "COM7", "--gps-baud", "9600"},
                   120000);

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const auto rows = StoredRows(measurements);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) {
        EXPECT_EQ((QStringList{row["Latitude"], row["N/S"], row["Longitude"], row["E/W"]}),
                  (QStringList{"5130.12345", "N", "00007.5432", "W"}))
            << row["ch"].toStdString();
    }
}

TEST(StationOnSimulator, StopSignalEndsAfterTheVisitInProgress)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "2", "--settling", "0"});
    ASSERT_TRUE(sim.Ready());
    const QString measurements = folder.File("run.db");
    bool signalled = false;
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", kDemoSet, "--measurements", measurements, "--continuous",
         "--port", "COM2"},
        120000, [&](const QString& line, QProcess& station) {
            if (!signalled && line.startsWith("row: ")) {
                signalled = true;
                ::kill(static_cast<pid_t>(station.processId()), SIGTERM);
            }
        });
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.lines.contains("status: STOPPED"));
    // The signal came after the first row; the second visit (in progress or
    // abandoned before its tuner) at most adds one row.
    EXPECT_GE(result.Rows().size(), 1);
    EXPECT_LE(result.Rows().size(), 2);
    EXPECT_EQ(StoredRows(measurements).size(), static_cast<size_t>(result.Rows().size()));
}

TEST(StationOnSimulator, FailuresEndWithTheirOwnStatus)
{
    TempProgramFolder folder;
    // No analyser on the named port.
    StationResult missing = RunStation({"--folder", folder.Path(), "--import-testpoints", kDemoSet,
                                        "--measurements", folder.File("m.db"), "--port", "COM9"},
                                       60000);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.errors.contains("has not detected ORBIMETER")) << missing.errors.toStdString();

    SimProcess sim(folder.Path(), {"--com", "5", "--settling", "0"});
    ASSERT_TRUE(sim.Ready());
    StationResult search = RunStation({"--folder", folder.Path(), "--search"}, 120000);
    EXPECT_EQ(search.exitCode, 0) << search.errors.toStdString();
    EXPECT_TRUE(search.lines.contains("analyser: ORBIMETER HD+ on COM5")) << search.lines.join('\n').toStdString();

    StationResult noSet = RunStation({"--folder", folder.Path(), "--testpoints", folder.File("none.db"),
                                      "--measurements", folder.File("m.db"), "--port", "COM5"},
                                     60000);
    EXPECT_EQ(noSet.exitCode, 4);
    EXPECT_TRUE(noSet.errors.contains("no such test point set")) << noSet.errors.toStdString();

    StationResult badMode = RunStation({"--folder", folder.Path(), "--loops", "2", "--continuous"}, 10000);
    EXPECT_EQ(badMode.exitCode, 2);
}
}  // namespace

namespace {
// Without a window there is no "Save Test Point Set" to press: the thresholds
// an automatic pass derives must end up in the set it was run for. Every
// printed row is already stored when it is printed.
TEST(StationOnSimulator, AnAutomaticPassSavesItsThresholdsIntoTheNamedSet)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "5", "--settling", "100"});
    ASSERT_TRUE(sim.Ready());
    const QString csv = folder.File("two.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    const QString set = folder.File("set.db");
    const QString measurements = folder.File("run.db");
    int printedBeforeStored = 0;
    int printed = 0;
    const StationResult result = RunStation(
        {"--folder", folder.Path(), "--import-testpoints", csv, "--testpoints", set, "--measurements", measurements,
         "--port", "COM5", "--auto-alarm", "--tolerance-level", "3", "--tolerance-mer", "1"},
        120000, [&](const QString& line, QProcess&) {
            if (!line.startsWith(QStringLiteral("row: ")))
                return;
            ++printed;
            if (static_cast<int>(StoredRows(measurements).size()) < printed)
                ++printedBeforeStored;
        });

    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(printed, 2);
    EXPECT_EQ(printedBeforeStored, 0);
    EXPECT_TRUE(result.lines.contains(QStringLiteral("saved: the derived thresholds into %1").arg(set)))
        << result.lines.join('\n').toStdString();

    const auto stored = StoredRows(measurements);
    const auto points = StoredRows(set);
    ASSERT_EQ(points.size(), 2u);
    ASSERT_EQ(stored.size(), 2u);
    for (size_t i = 0; i < points.size(); ++i) {
        const double level = stored[i]["LEVEL"].toDouble();
        const double mer = stored[i]["MER"].toDouble();
        EXPECT_DOUBLE_EQ(points[i]["minLV"].toDouble(), level - 3) << i;
        EXPECT_DOUBLE_EQ(points[i]["maxLV"].toDouble(), level + 3) << i;
        EXPECT_DOUBLE_EQ(points[i]["minMER"].toDouble(), mer - 1) << i;
        EXPECT_DOUBLE_EQ(points[i]["maxMER"].toDouble(), mer + 1) << i;
        EXPECT_TRUE(points[i]["minC/N"].isEmpty() || points[i]["minC/N"] == "0") << "C/N was not chosen";
    }
}
}  // namespace
