// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_output.h"

#include "platform/errors.h"
#include "platform/texts.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {
long long LastOf(const PreparedReport& report, const PageRange& range)
{
    const long long last = report.PageCount() - 1;
    return range.last < 0 ? last : std::min(range.last, last);
}
}  // namespace

OutputResult PrintPages(PreparedReport& report, QPagedPaintDevice& device, PageRange range,
                        const ReportProgress& progress)
{
    const PageSetup& setup = report.Definition().page;
    device.setPageSize(QPageSize(QSizeF(setup.paperWidth, setup.paperHeight), QPageSize::Millimeter));
    device.setPageOrientation(setup.orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    const long long first = std::max(0LL, range.first);
    const long long last = LastOf(report, range);
    const long long total = std::max(0LL, last - first + 1);
    QPainter painter;
    if (!painter.begin(&device))
        throw VigiloError(QStringLiteral("The printer could not start"));
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (long long page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        DrawPage(painter, LayOutPage(report, page, report.ReadPage(page)), dotsPerMm);
        if (progress && !progress(page - first + 1, total)) {
            painter.end();
            return OutputResult::Cancelled;
        }
    }
    painter.end();
    return OutputResult::Done;
}

OutputResult ExportPdf(PreparedReport& report, const QString& path, PageRange range, const ReportProgress& progress)
{
    // English: a PDF is written by the preview and the tools, which report
    // the error through the general handler in its text.
    const QString failure = texts::kPdfCannotWrite.English().arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw VigiloError(failure);
    OutputResult result;
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Vigilo"));
        writer.setTitle(report.Definition().Label(QStringLiteral("QRLabel3"))
                            ? report.Definition().Label(QStringLiteral("QRLabel3"))->text
                            : QString());
        result = PrintPages(report, writer, range, progress);
    }
    if (result == OutputResult::Cancelled) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        throw VigiloError(failure);
    return result;
}
