// SPDX-License-Identifier: GPL-3.0-or-later
// The "by Time" report over generated Measurements tables of 100 000 and
// 1 000 000 rows (about 4 200 and 41 700 pages): the preview's first page,
// page jumps, saving the whole report as .qrp, loading it and showing its
// last page, and PDF pages per second. Each benchmark resets the peak
// resident memory first (/proc/self/clear_refs), so peak_kB is its own; it
// must stay flat from 100 k to 1 M rows.
#include "platform/settings.h"
#include "reports/acquired_report.h"
#include "reports/qrp_file.h"
#include "reports/report_output.h"
#include "reports/report_preview_window.h"
#include "support/recording_dialogs.h"
#include "unit/reports/report_tables.h"
#include "workspace/report_kind.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

// One generated table per size, made on first use.
QString Table(long long rows)
{
    static std::map<long long, QString> made;
    auto it = made.find(rows);
    if (it != made.end())
        return it->second;
    const QString path = Folder().filePath(QStringLiteral("m%1.db").arg(rows));
    WriteMeasurements(path, rows);
    return made[rows] = path;
}

QString Saved(long long rows)
{
    return Folder().filePath(QStringLiteral("r%1.qrp").arg(rows));
}

void ResetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

struct Station {
    Settings settings{Folder().path()};
    RecordingDialogs dialogs;
    ReportMailSwitches switches;
    TAcquiredQReport report{switches};

    explicit Station(long long rows)
    {
        settings.Replace(0, QStringLiteral("english"));
        report.SetTable(Table(rows));
        report.SetFieldEnabled(QStringLiteral("QRDBTextReference"), false);
        report.SetLabelText(QStringLiteral("QRLabelReportType1"), QStringLiteral("by Time"));
    }
};

// From the command to the first page drawn in the preview at 110 %.
void BM_PreviewFirstPage(benchmark::State& state)
{
    const long long rows = state.range(0);
    Table(rows);
    Station station(rows);
    ResetPeakMemory();
    long long pages = 0;
    for (auto _ : state) {
        TReportPreview preview(station.settings, station.dialogs);
        preview.resize(1400, 900);
        preview.show();
        preview.ShowReport(station.report.Prepare());
        QApplication::processEvents();
        pages = preview.Report()->PageCount();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_PreviewFirstPage)->Arg(100'000)->Arg(1'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

// A page typed into the preview's page box, anywhere in the report.
void BM_PreviewPageJump(benchmark::State& state)
{
    const long long rows = state.range(0);
    Station station(rows);
    TReportPreview preview(station.settings, station.dialogs);
    preview.resize(1400, 900);
    preview.show();
    preview.ShowReport(station.report.Prepare());
    const long long pages = preview.Report()->PageCount();
    std::mt19937_64 random(7);
    ResetPeakMemory();
    for (auto _ : state) {
        preview.PageEdit->setText(QString::number(1 + static_cast<long long>(random() % pages)));
        preview.GoToPageReturn();
        QApplication::processEvents();
    }
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_PreviewPageJump)->Arg(100'000)->Arg(1'000'000)->Iterations(50)->Unit(benchmark::kMillisecond);

void BM_SaveQrp(benchmark::State& state)
{
    const long long rows = state.range(0);
    Station station(rows);
    ResetPeakMemory();
    for (auto _ : state)
        station.report.SaveReport(Saved(rows), Language::English);
    state.counters["pages"] = static_cast<double>(station.report.LastPrepared()->PageCount());
    state.counters["MB"] = static_cast<double>(QFile(Saved(rows)).size()) / 1e6;
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_SaveQrp)->Arg(100'000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Open Report: the saved file into an empty preview, then its last page.
void BM_LoadQrpAndShowLastPage(benchmark::State& state)
{
    const long long rows = state.range(0);
    Station station(rows);
    if (!QFile::exists(Saved(rows)))
        station.report.SaveReport(Saved(rows), Language::English);
    ResetPeakMemory();
    for (auto _ : state) {
        TReportPreview preview(station.settings, station.dialogs);
        preview.resize(1400, 900);
        preview.show();
        if (!preview.LoadReportFile(Saved(rows)))
            state.SkipWithError("the saved report did not load");
        preview.LastPageClick();
        QApplication::processEvents();
    }
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_LoadQrpAndShowLastPage)->Arg(100'000)->Arg(1'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

// PDF of the first 2 000 pages (a whole 1 M-row report takes minutes; the
// rate does not depend on where the pages are).
void BM_ExportPdf(benchmark::State& state)
{
    const long long rows = state.range(0);
    constexpr long long kPages = 2000;
    Station station(rows);
    auto prepared = station.report.Prepare();
    const QString pdf = Folder().filePath(QStringLiteral("r%1.pdf").arg(rows));
    ResetPeakMemory();
    QElapsedTimer timer;
    double seconds = 0;
    for (auto _ : state) {
        timer.start();
        ExportPdf(*prepared, pdf, PageRange{0, kPages - 1});
        seconds += static_cast<double>(timer.nsecsElapsed()) / 1e9;
    }
    state.counters["pages_per_s"] = static_cast<double>(kPages * state.iterations()) / seconds;
    state.counters["peak_kB"] = PeakMemoryKb();
}
BENCHMARK(BM_ExportPdf)->Arg(100'000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

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
