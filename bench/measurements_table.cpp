// SPDX-License-Identifier: GPL-3.0-or-later
// A Measurements table of a million rows: appending them, then opening the
// table in the report table window's grid and scrolling to the last row.
// Peak memory (VmHWM) is reported as a counter in kB.
#include "reports/report_table_window.h"
#include "testpoints/dataset.h"
#include "testpoints/dataset_model.h"
#include "testpoints/table_layouts.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr long long kRows = 1'000'000;
constexpr long long kRowsPerCommit = 10'000;

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

QString TablePath()
{
    return Folder().filePath(QStringLiteral("million.db"));
}

double PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return 0;
}

void FillRow(Dataset& table, long long i)
{
    table.Append();
    table.SetText(QStringLiteral("index"), QString::number(i % 40 + 1));
    table.SetText(QStringLiteral("ch"), QStringLiteral("E%1").arg(21 + i % 40));
    table.SetText(QStringLiteral("freq"), QStringLiteral("474.0"));
    table.SetText(QStringLiteral("type"), QStringLiteral("DVB-T/H"));
    table.SetText(QStringLiteral("band"), QStringLiteral("TER"));
    table.SetNumber(QStringLiteral("LEVEL"), 40.0 + static_cast<double>(i % 300) / 10.0);
    table.SetNumber(QStringLiteral("C/N"), 25.5);
    table.SetNumber(QStringLiteral("MER"), 31.2);
    table.SetText(QStringLiteral("CBER"), QStringLiteral("1.0E-6"));
    table.SetText(QStringLiteral("Date"), QStringLiteral("15/01/2026"));
    table.SetText(QStringLiteral("Hour"), QStringLiteral("10:00:00"));
    table.SetText(QStringLiteral("Latitude"), QStringLiteral("--"));
    table.SetText(QStringLiteral("warning"), QStringLiteral("NO"));
    table.Post();
}

// Bulk load as a conversion tool would: one commit per 10 000 rows.
void BM_Append1MMeasurementRows(benchmark::State& state)
{
    for (auto _ : state) {
        Dataset table(QString(), TablePath());
        table.CreateTable(MeasurementFields());
        table.Open();
        for (long long i = 0; i < kRows; ++i) {
            if (i % kRowsPerCommit == 0)
                table.StartTransaction();
            FillRow(table, i);
            if (i % kRowsPerCommit == kRowsPerCommit - 1)
                table.Commit();
        }
        table.Commit();
        table.Close();
    }
    state.counters["rows"] = static_cast<double>(kRows);
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_Append1MMeasurementRows)->Iterations(1)->Unit(benchmark::kMillisecond);

// As the run posts: one synchronous commit per row, on the full table.
void BM_DurablePostOnFullTable(benchmark::State& state)
{
    Dataset table(QString(), TablePath());
    table.Open();
    long long i = kRows;
    for (auto _ : state)
        FillRow(table, i++);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DurablePostOnFullTable)->Iterations(500)->Unit(benchmark::kMillisecond);

void BM_OpenInReportGridAndScrollToLastRow(benchmark::State& state)
{
    for (auto _ : state) {
        Dataset table(QString(), TablePath());
        table.Open();
        TFRepTable window(table, QSize(1280, 1024), [] { return 997; });
        window.show();
        QApplication::processEvents();
        window.DBGrid2->scrollToBottom();
        QApplication::processEvents();
        const int last = window.Model()->rowCount() - 1;
        const QString text = window.Model()->index(last, 1).data().toString();
        benchmark::DoNotOptimize(text);
        if (last + 1 < kRows)
            state.SkipWithError("table shorter than expected");
        state.counters["rows_fetched"] = static_cast<double>(window.Model()->RowsFetched());
    }
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_OpenInReportGridAndScrollToLastRow)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
