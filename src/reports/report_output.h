// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/prepared_report.h"

class QPagedPaintDevice;

// Prints pages of a prepared report on any paged device (a PDF writer, a
// printer), one page read and drawn at a time. The device is set to the
// report's paper, orientation and no margins, so every page is placed as on
// screen. Raises VigiloError when a page cannot be read; pages already
// printed stay printed.
OutputResult PrintPages(PreparedReport& report, QPagedPaintDevice& device, PageRange range = {},
                        const ReportProgress& progress = {});

// Writes the pages to a PDF file with searchable text, beside the target and
// renamed over it when complete: a failure or a cancel leaves an existing
// file as it was. Needs a QGuiApplication (fonts), no widgets. Raises
// VigiloError when the file cannot be written.
OutputResult ExportPdf(PreparedReport& report, const QString& path, PageRange range = {},
                       const ReportProgress& progress = {});
