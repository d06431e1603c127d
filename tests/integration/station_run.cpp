// vigilo-station against vigilo-analyser-sim on real pseudo-terminals: one
// pass over a set with one test point of every standard, the stop signal,
// and the failures a script must be able to tell apart.

#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

namespace {
const QString kBin = QStringLiteral(VIGILO_PROGRAM_DIR);
const QString kDemoSet = QStringLiteral(VIGILO_SOURCE_DIR "/data/demo/demo_testpoints.csv");

struct StationResult {
    int exitCode = -1;
    QStringList lines;
    QString errors;
    QStringList Rows() const { return lines.filter(QRegularExpression(QStringLiteral("^row: "))); }
};

// Runs the station on the program folder's ports only (never the machine's
// serial devices); `onLine` may act on each output line as it comes.
StationResult RunStation(const QStringList& arguments, int timeoutMs,
                         const std::function<void(const QString&, QProcess&)>& onLine = {})
{
    QProcess station;
    station.start(kBin + QStringLiteral("/vigilo-station"),
                  QStringList{QString::fromLatin1(SimProcess::kStationPortsOnly)} + arguments);
    StationResult result;
    QElapsedTimer timer;
    timer.start();
    QByteArray pending;
    while (station.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs) {
        station.waitForReadyRead(200);
        pending += station.readAllStandardOutput();
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            result.lines << line;
            if (onLine)
                onLine(line, station);
        }
    }
    if (station.state() != QProcess::NotRunning) {
        station.kill();
        station.waitForFinished(5000);
        ADD_FAILURE() << "the station did not end in time";
    }
    result.lines << QString::fromUtf8(station.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(station.readAllStandardError());
    result.exitCode = station.exitStatus() == QProcess::NormalExit ? station.exitCode() : -1;
    return result;
}

std::vector<QMap<QString, QString>> StoredRows(const QString& path)
{
    std::vector<QMap<QString, QString>> rows;
    Dataset table(QString(), path);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        QMap<QString, QString> row;
        for (const QString& name : table.FieldNames())
            row[name] = table.Text(name);
        rows.push_back(row);
    }
    return rows;
}

TEST(StationOnSimulator, OnePassOverEveryStandardStoresItsRows)
{
    TempProgramFolder folder;
    SimProcess sim(folder.Path(), {"--com", "3", "--settling", "300", "--gps-com", "4", "--gps-period", "300"});
    ASSERT_TRUE(sim.Ready());
    const QString measurements = folder.File("run.db");

    const StationResult result =
        RunStation({"--folder", folder.Path(), "--import-testpoints", kDemoSet, "--testpoints",
                    folder.File("demo.db"), "--measurements", measurements, "--port", "COM3", "--gps", "COM4",
                    "--gps-baud", "4800"},
                   400000);

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
