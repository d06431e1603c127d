// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/prepared_report.h"

#include <memory>

enum class Language;

// Saved reports (".qrp"): a prepared report in a file of its own, readable
// without its table. The format is described in the README ("Saved reports").

// Writes every page of `report` to `path`. The file is written beside and
// renamed over the target only once complete, so a failure or a cancel leaves
// an existing file as it was. Raises VigiloError (in `language`) when the
// file cannot be written or a page cannot be read.
OutputResult SaveQrp(PreparedReport& report, const QString& path, Language language,
                     const ReportProgress& progress = {});

// Opens a saved report lazily: the header, the definition and the page index
// are checked at once, a page's rows when the page is read. A file that is
// not a saved report, of another version, truncated or damaged is refused:
// null, and `error` says why in `language`. A page found damaged later makes
// ReadPage raise VigiloError.
std::unique_ptr<PreparedReport> OpenQrp(const QString& path, Language language, QString& error);
