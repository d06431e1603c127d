// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/report_kind.h"

#include <QString>

class Workspace;

// What a report command ended with.
struct ReportCommandResult {
    enum class Outcome {
        Previewed,  // the preview opened (headless: the report was prepared)
        Mailed,     // saved as .qrp and PDF and handed to the mailer
        Refused,    // a message said why; no report
    };
    Outcome outcome = Outcome::Refused;
    QString reportFile;  // the saved .qrp when mailed
    QString pdfFile;     // its PDF
    bool mailSent = false;
};

// One report command (the toolbar button, its File menu item, the scheduled
// stop and the periodic reports all run this): accepts the company data,
// sets the header's start and end texts, gathers the rows (the Filter table
// for all kinds but "by Time"), binds and hides the report's columns, then
// previews the report, or, with the kind's mail switch on, saves it as
// Database/SaveReports/<report number><suffix>.qrp with its PDF beside it
// and mails both. `onlyOneTestPoint` is the operating mode's Only1TP box,
// which only picks a message. The Measurements table's filter is off
// afterwards whatever happened; errors of the table engine and of saving
// raise VigiloError.
ReportCommandResult RunReportCommand(Workspace& workspace, ReportKind kind, bool onlyOneTestPoint);

// "_MinMaxAvg.qrp", "_byTime.qrp", "_byTestPoint.qrp", "_byAlarm.qrp".
QString SavedReportSuffix(ReportKind kind);
// The report-type text of the header, in English whatever the language.
QString ReportTypeText(ReportKind kind);
