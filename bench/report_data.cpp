// SPDX-License-Identifier: GPL-3.0-or-later
// The report data and the CSV export on a generated Measurements table of
// 100 test points of mixed standards, each timed beside the sqlite3 shell
// doing the same work on the same files in the same run (the anchor):
//   MinMaxAvg   - the Filter table of "Min/Max/Avg" / one GROUP BY computing
//                 the same minima, maxima, averages and failed-reading counts
//   ByTestPoint - the Filter table of "by Test Point" / the same INSERT ...
//                 SELECT into an empty Filter table
//   Csv         - the export / sqlite3 -separator ';' writing the same columns
// Counters: ours_s, sqlite3_s, ratio (ours / sqlite3) and, for the export,
// peak_kb (the exporting child's peak resident memory). Rows: the argument.
#include "instrument/measured_fields.h"
#include "reports/csv_export.h"
#include "reports/report_data.h"
#include "testpoints/sql_statement.h"
#include "testpoints/table_layouts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

QString PathOf(const QString& name)
{
    return Folder().filePath(name);
}

QString MeasurementsFile(long long rows)
{
    return PathOf(QStringLiteral("measurements_%1.db").arg(rows));
}

QString TestPointsFile()
{
    return PathOf(QStringLiteral("testpoints.db"));
}

// Test point t (1-100) has the standard t % 10 of this list.
constexpr const char* kStandards =
    "CASE (%1) % 10 WHEN 0 THEN 'Analog' WHEN 1 THEN 'DVB-T/H' WHEN 2 THEN 'DVB-C' WHEN 3 THEN 'DVB-S2' "
    "WHEN 4 THEN 'DVB-T2' WHEN 5 THEN 'J-83' WHEN 6 THEN 'DTMB' WHEN 7 THEN '8-VSB' WHEN 8 THEN 'ISDB-T' "
    "ELSE 'DVB-S' END";

void MakeTables(long long rows)
{
    if (QFile::exists(MeasurementsFile(rows)))
        return;
    if (!QFile::exists(TestPointsFile())) {
        WriteEmptyTable(TestPointsFile(), TestPointFields());
        SqlConnection tp(TestPointsFile(), SqlAccess::Write);
        tp.Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                               "INSERT INTO records (\"index\", ch, type, system, band, _pos) "
                               "SELECT i, 'C' || i, %1, iif(i % 20 = 0, 'FM', 'X'), "
                               "iif(i % 10 IN (3, 9), 'SAT', 'TER'), i * 1024 FROM n")
                    .arg(QString::fromLatin1(kStandards).arg(QStringLiteral("i"))));
    }
    WriteEmptyTable(MeasurementsFile(rows), MeasurementFields());
    SqlConnection m(MeasurementsFile(rows), SqlAccess::Write);
    // Every field the station stores, whatever the standard, so that every
    // aggregate has work; one row in 97 a failed level reading.
    m.Exec(QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < @ROWS - 1) "
               "INSERT INTO records (\"index\", ch, freq, system, type, band, LEVEL, \"C/N\", \"V/A\", \"DESV FM\", "
               "MER, CBER, VBER, LBER, Date, Hour, Latitude, \"N/S\", Longitude, \"E/W\", warning, _pos) "
               "SELECT (i % 100) + 1, 'C' || ((i % 100) + 1), printf('%.2f', 474 + (i % 100) * 8), "
               "iif(((i % 100) + 1) % 20 = 0, 'FM', 'X'), @TYPE, iif(((i % 100) + 1) % 10 IN (3, 9), 'SAT', 'TER'), "
               "iif(i % 97 = 0, 0, 40 + (i % 300) / 10.0), 20 + (i % 150) / 10.0, 10 + (i % 70) / 10.0, "
               "50 + i % 25, 25 + (i % 120) / 10.0, printf('%d.%dE-%d', 1 + i % 9, i % 10, 3 + i % 5), "
               "printf('%d.%dE-%d', 1 + i % 7, i % 10, 5 + i % 4), printf('%d.%dE-%d', 1 + i % 5, i % 10, 4 + i % 3), "
               "printf('%02d/01/2026', 1 + (i / 100000) % 28), printf('%02d:%02d:%02d', (i / 3600) % 24, "
               "(i / 60) % 60, i % 60), '4807.038', 'N', '01131.000', 'E', iif(i % 37 = 0, 'YES', 'NO'), "
               "(i + 1) * 1024 FROM n")
               .replace(QStringLiteral("@ROWS"), QString::number(rows))
               .replace(QStringLiteral("@TYPE"), QString::fromLatin1(kStandards).arg(QStringLiteral("(i % 100) + 1"))));
}

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Runs the sqlite3 shell; its seconds, output to `output` (or discarded).
double TimeShell(const QStringList& arguments, const QString& output = QStringLiteral("/dev/null"))
{
    QProcess shell;
    shell.setStandardOutputFile(output);
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), arguments);
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        qFatal("sqlite3 failed: %s", shell.readAllStandardError().constData());
    return Seconds(timer);
}

void Report(benchmark::State& state, double ours, double shell)
{
    state.counters["ours_s"] = ours;
    state.counters["sqlite3_s"] = shell;
    state.counters["ratio"] = ours / shell;
}

void MinMaxAvg(benchmark::State& state)
{
    const long long rows = state.range(0);
    MakeTables(rows);
    QStringList aggregates;
    for (const MeasuredField field : kMeasuredFieldsInOrder) {
        QString column = QuoteSqlName(QLatin1String(FieldName(field)));
        if (IsBitErrorRate(field))
            column = QStringLiteral("CAST(%1 AS REAL)").arg(column);
        aggregates.append(QStringLiteral("min(%1), max(%1), avg(%1), sum(%1 = 0)").arg(column));
    }
    const QString grouped =
        QStringLiteral("SELECT \"index\", count(*), %1 FROM records GROUP BY \"index\"").arg(aggregates.join(", "));
    double ours = 0;
    double shell = 0;
    for (auto _ : state) {
        const QString filter = PathOf(QStringLiteral("filter.db"));
        WriteEmptyTable(filter, FilterFields());
        QElapsedTimer timer;
        timer.start();
        const FilterFill fill = FillMinMaxAvg(filter, MeasurementsFile(rows), TestPointsFile());
        ours = Seconds(timer);
        if (fill != FilterFill::Complete)
            state.SkipWithError("the generated tables do not match");
        shell = TimeShell({MeasurementsFile(rows), grouped});
        state.SetIterationTime(ours);
    }
    Report(state, ours, shell);
}

void ByTestPoint(benchmark::State& state)
{
    const long long rows = state.range(0);
    MakeTables(rows);
    double ours = 0;
    double shell = 0;
    for (auto _ : state) {
        const QString filter = PathOf(QStringLiteral("filter.db"));
        WriteEmptyTable(filter, FilterFields());
        QElapsedTimer timer;
        timer.start();
        FillByTestPoint(filter, MeasurementsFile(rows), TestPointsFile());
        ours = Seconds(timer);

        const QString anchor = PathOf(QStringLiteral("filter_anchor.db"));
        WriteEmptyTable(anchor, FilterFields());
        shell = TimeShell({anchor, QStringLiteral("ATTACH '%1' AS m").arg(MeasurementsFile(rows)),
                           QStringLiteral("ATTACH '%1' AS t").arg(TestPointsFile()),
                           QStringLiteral("BEGIN"), ByTestPointInsertSql(), QStringLiteral("COMMIT")});
        state.SetIterationTime(ours);
    }
    Report(state, ours, shell);
}

// The export in a child process, so that its peak memory is its own.
std::pair<double, long> ExportInChild(const QString& table, const QString& target)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        try {
            WriteTableCsv(table, target);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("the export failed");
    return {Seconds(timer), usage.ru_maxrss};
}

void Csv(benchmark::State& state)
{
    const long long rows = state.range(0);
    MakeTables(rows);
    QStringList columns;
    for (const FieldDef& f : MeasurementFields())
        columns.append(QuoteSqlName(f.name));
    const QString select = QStringLiteral("SELECT %1 FROM records ORDER BY _pos").arg(columns.join(", "));
    double ours = 0;
    double shell = 0;
    long peakKb = 0;
    for (auto _ : state) {
        std::tie(ours, peakKb) = ExportInChild(MeasurementsFile(rows), PathOf(QStringLiteral("out.csv")));
        shell = TimeShell({QStringLiteral("-separator"), QStringLiteral(";"), MeasurementsFile(rows), select},
                          PathOf(QStringLiteral("anchor.csv")));
        state.SetIterationTime(ours);
    }
    Report(state, ours, shell);
    state.counters["peak_kb"] = static_cast<double>(peakKb);
}

}  // namespace

BENCHMARK(MinMaxAvg)->Arg(100'000)->Arg(1'000'000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ByTestPoint)->Arg(100'000)->Arg(1'000'000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(Csv)->Arg(100'000)->Arg(1'000'000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
