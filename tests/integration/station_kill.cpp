// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-station killed without warning (SIGKILL) at random moments of a
// continuous run against vigilo-analyser-sim, twenty times, each time started
// again on the same files: every row it printed is in the Measurements table,
// every table file passes SQLite's integrity check, and the test point set
// and its working copy keep their test points.

#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/station_process.h"
#include "support/temp_folder.h"
#include "testpoints/csv_tables.h"
#include "testpoints/table_layouts.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <map>
#include <optional>
#include <random>

namespace {
using Row = QMap<QString, QString>;

QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        else
            result = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

// What identifies a printed row in the table: its visit's fields as printed.
QString RowKey(const Row& row)
{
    QStringList parts;
    for (const char* name : {"index", "ch", "LEVEL", "C/N", "MER", "CBER", "VBER", "Date", "Hour"})
        parts << row.value(QString::fromLatin1(name));
    return parts.join(QLatin1Char('|'));
}

TEST(StationKill, EveryPrintedRowSurvivesTwentyKills)
{
    TempProgramFolder folder;
    const QString scenario = folder.File("air.txt");
    {
        QFile file(scenario);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("474 62.0\n");
    }
    SimProcess sim(folder.Path(), {"--com", "3", "--settling", "0", "--scenario", scenario});
    ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();

    // The set: two test points; the station measures the first again and
    // again, so rows come often once it is tuned.
    const QString csv = folder.File("two.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ch;freq;system;type;bw;g.interval;inv.spectral;carrier;plan;band;alarm\n"
                   "21;474;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n"
                   "22;482;;DVB-T/H;8;1/4;OFF;8K;CCIR;TER;OFF\n");
    }
    RegisterDatabaseNames();
    const QString set = folder.File("set.db");
    ASSERT_EQ(ImportTestPointsCsv(csv, set), 2);
    const std::vector<Row> points = StoredRows(set);
    const QString measurements = folder.File("run.db");
    const QString workingCopy = WorkingCopyPath();

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::map<QString, int> printed;  // row key → times printed
    int printedRows = 0;
    int killsWithRows = 0;
    constexpr int kKills = 20;
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        // A quarter of the kills fall at a random moment of the start
        // (settings, tables, the working copy, identification); the others
        // a random time after one of the first rows, in the middle of the
        // next visit's queries or of its post.
        const bool duringStart = std::uniform_int_distribution<int>(0, 3)(random) == 0;
        const int startKillMs = std::uniform_int_distribution<int>(0, 1500)(random);
        const int afterRow = std::uniform_int_distribution<int>(1, 3)(random);
        const int afterRowMs = std::uniform_int_distribution<int>(0, 900)(random);
        using Clock = std::chrono::steady_clock;
        int rowsThisRound = 0;
        std::optional<Clock::time_point> killAt;
        bool killed = false;
        const StationResult result = RunStation(
            {"--folder", folder.Path(), "--testpoints", set, "--measurements", measurements, "--port", "COM3",
             "--single-test-point"},
            120000,
            [&](const QString& line, QProcess&) {
                if (!line.startsWith(QStringLiteral("row: ")))
                    return;
                ++printed[RowKey(PrintedRow(line))];
                ++printedRows;
                ++rowsThisRound;
                if (!duringStart && rowsThisRound == afterRow)
                    killAt = Clock::now() + std::chrono::milliseconds(afterRowMs);
            },
            QString(),
            [&](QProcess& station) {
                if (duringStart && !killAt)
                    killAt = Clock::now() + std::chrono::milliseconds(startKillMs);
                if (!killed && killAt && Clock::now() >= *killAt) {
                    killed = true;
                    ::kill(static_cast<pid_t>(station.processId()), SIGKILL);
                }
            });
        ASSERT_EQ(result.exitCode, -1) << "the station ended by itself: " << result.errors.toStdString() << "\n"
                                       << result.lines.join('\n').toStdString();
        if (rowsThisRound > 0)
            ++killsWithRows;

        ASSERT_EQ(IntegrityCheck(set), "ok");
        EXPECT_EQ(StoredRows(set), points) << "the set is only ever read";
        if (QFile::exists(workingCopy)) {
            ASSERT_EQ(IntegrityCheck(workingCopy), "ok");
            EXPECT_EQ(StoredRows(workingCopy), points);
        }
        // A kill early in the first start can come before the table is
        // created; it is created whole or not at all, and nothing was stored.
        if (!QFile::exists(measurements)) {
            ASSERT_EQ(printedRows, 0) << "rows were printed, but their table is gone";
            continue;
        }
        ASSERT_EQ(IntegrityCheck(measurements), "ok");
        std::map<QString, int> stored;
        int storedRows = 0;
        for (const Row& row : StoredRows(measurements)) {
            ++stored[RowKey(row)];
            ++storedRows;
        }
        for (const auto& [key, times] : printed)
            ASSERT_GE(stored[key], times) << "printed row lost: " << key.toStdString();
        // A row stored but not yet printed when the kill came: at most one a kill.
        EXPECT_LE(storedRows, printedRows + round + 1);
    }
    EXPECT_GE(killsWithRows, kKills / 2) << "most kills must fall inside a run that stores rows";
    RecordProperty("printed_rows", printedRows);
}
}  // namespace
