// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/report_command.h"

#include "notify/mailer.h"
#include "platform/fields.h"
#include "platform/texts.h"
#include "reports/acquired_report.h"
#include "reports/report_data.h"
#include "testpoints/table_layouts.h"
#include "workspace/workspace.h"

#include <QFileInfo>

namespace {

const QString kReferenceTitle = QStringLiteral("QRLabel23");
const QString kReferenceField = QStringLiteral("QRDBTextReference");
const QStringList kDateHourFields{QStringLiteral("QRDBTextDate"), QStringLiteral("QRDBTextHour")};
const QStringList kPositionFields{QStringLiteral("QRDBTextLatitude"), QStringLiteral("QRDBTextNS"),
                                  QStringLiteral("QRDBTextLongitude"), QStringLiteral("QRDBTextEW")};
const QStringList kBitErrorRateFields{QStringLiteral("QRDBTextCBER"), QStringLiteral("QRDBTextVBER"),
                                      QStringLiteral("QRDBTextLBER")};

// Switches the Measurements table's filter off when the command ends, however
// it ends.
class FilterOffOnExit {
public:
    explicit FilterOffOnExit(Dataset& table) : m_table(table) { m_table.SetFiltered(false); }
    ~FilterOffOnExit()
    {
        try {
            if (m_table.IsOpen())
                m_table.SetFiltered(false);
        } catch (...) {
            // Already off in every path that reaches here without an error.
        }
    }
    FilterOffOnExit(const FilterOffOnExit&) = delete;
    FilterOffOnExit& operator=(const FilterOffOnExit&) = delete;

private:
    Dataset& m_table;
};

// Hour and Date of the first and of the last acquisition.
void SetStartAndEndTexts(TAcquiredQReport& report, Dataset& measurements)
{
    const QString hour = QLatin1String(fields::kHour);
    const QString date = QLatin1String(fields::kDate);
    measurements.First();
    const bool any = measurements.HasCurrentRow();
    report.SetLabelText(QStringLiteral("QRLabelStartTime1"), any ? measurements.Text(hour) : QString());
    report.SetLabelText(QStringLiteral("QRLabelStartData1"), any ? measurements.Text(date) : QString());
    measurements.Last();
    report.SetLabelText(QStringLiteral("QRLabelEndTime1"), any ? measurements.Text(hour) : QString());
    report.SetLabelText(QStringLiteral("QRLabelEndData1"), any ? measurements.Text(date) : QString());
}

// A new, empty Filter table, not yet open: the fills write it through SQL.
QString RecreateFilterTable(Dataset& filter)
{
    filter.Close();
    filter.SetDatabaseName(QString::fromUtf8(dbnames::kFilter));
    filter.SetTableName(QString::fromUtf8(kFilterTableName));
    const QString file = filter.FilePath();
    WriteEmptyTable(file, FilterFields());
    return file;
}

// Every column shown and read from the report's own table, then the kind's
// own choices.
void BindColumns(TAcquiredQReport& report, ReportKind kind, const QString& rowsFile, const QString& measurementsFile)
{
    report.SetTable(rowsFile);
    for (const QString& name : report.FieldNames()) {
        report.BindField(name, QString());
        report.SetFieldEnabled(name, true);
    }
    if (kind == ReportKind::MinMaxAvg) {
        report.SetLabelText(kReferenceTitle, QStringLiteral("REF"));
        for (const QStringList* group : {&kDateHourFields, &kPositionFields, &kBitErrorRateFields})
            for (const QString& name : *group)
                report.SetFieldEnabled(name, false);
        return;
    }
    report.SetLabelText(kReferenceTitle, QString());
    report.SetFieldEnabled(kReferenceField, false);
    // The Filter table has no position: those columns read the Measurements table.
    if (kind != ReportKind::ByTime)
        for (const QString& name : kPositionFields)
            report.BindField(name, measurementsFile);
}

QString ReportNumber(const TAcquiredQReport& report)
{
    const QString number = report.LabelText(QStringLiteral("QRLabelReportNumber1"));
    return number == TAcquiredQReport::NoData() ? QString() : number;
}

void Finish(Workspace& workspace, ReportKind kind, ReportCommandResult& result)
{
    TAcquiredQReport& report = workspace.AcquiredQReport();
    if (!workspace.reportMail.IsOn(kind)) {
        report.Preview();
        result.outcome = ReportCommandResult::Outcome::Previewed;
        return;
    }
    result.reportFile = SaveReportsFolder() + QLatin1Char('/') + ReportNumber(report) + SavedReportSuffix(kind);
    result.pdfFile = result.reportFile.chopped(4) + QStringLiteral(".pdf");
    report.Prepare();
    report.SaveReport(result.reportFile, CurrentLanguage(workspace.settings));
    report.ExportPdf(result.pdfFile);
    result.outcome = ReportCommandResult::Outcome::Mailed;
    result.mailSent = workspace.mailer && workspace.mailer->SendReportMail(result.reportFile, {result.pdfFile});
}

}  // namespace

QString SavedReportSuffix(ReportKind kind)
{
    switch (kind) {
    case ReportKind::MinMaxAvg: return QStringLiteral("_MinMaxAvg.qrp");
    case ReportKind::ByTime: return QStringLiteral("_byTime.qrp");
    case ReportKind::ByTestPoint: return QStringLiteral("_byTestPoint.qrp");
    case ReportKind::ByAlarm: return QStringLiteral("_byAlarm.qrp");
    }
    return {};
}

QString ReportTypeText(ReportKind kind)
{
    switch (kind) {
    case ReportKind::MinMaxAvg: return QStringLiteral("Min/Max/Avg");
    case ReportKind::ByTime: return QStringLiteral("by Time");
    case ReportKind::ByTestPoint: return QStringLiteral("by Test Point");
    case ReportKind::ByAlarm: return QStringLiteral("by Alarm");
    }
    return {};
}

ReportCommandResult RunReportCommand(Workspace& workspace, ReportKind kind, bool onlyOneTestPoint)
{
    ReportCommandResult result;
    if (workspace.acceptCompanyData)
        workspace.acceptCompanyData();
    Dataset& measurements = workspace.ReportTable;
    FilterOffOnExit filterOff(measurements);
    TAcquiredQReport& report = workspace.AcquiredQReport();
    SetStartAndEndTexts(report, measurements);
    const QString measurementsFile = measurements.FilePath();

    QString rowsFile = measurementsFile;
    if (kind != ReportKind::ByTime) {
        Dataset& testPoints = workspace.AcquiredTable;
        // Stores a pending row of either table before SQL reads the files.
        testPoints.First();
        if (kind == ReportKind::MinMaxAvg && measurements.RecordCount() < testPoints.RecordCount()) {
            ShowText(workspace.dialogs, workspace.settings,
                     onlyOneTestPoint ? texts::kReportTablesMismatch : texts::kMinimumAcquisitionsMissing);
            return result;
        }
        rowsFile = RecreateFilterTable(workspace.FilterTable);
        FilterFill fill = FilterFill::Complete;
        try {
            switch (kind) {
            case ReportKind::MinMaxAvg:
                fill = FillMinMaxAvg(rowsFile, measurementsFile, testPoints.FilePath());
                break;
            case ReportKind::ByTestPoint: FillByTestPoint(rowsFile, measurementsFile, testPoints.FilePath()); break;
            case ReportKind::ByAlarm: FillByAlarm(rowsFile, measurementsFile); break;
            case ReportKind::ByTime: break;
            }
        } catch (...) {
            workspace.FilterTable.Open();
            throw;
        }
        workspace.FilterTable.Open();
        if (fill == FilterFill::Mismatch) {
            ShowText(workspace.dialogs, workspace.settings, texts::kReportTablesMismatch);
            return result;
        }
    }

    BindColumns(report, kind, rowsFile, measurementsFile);
    report.SetLabelText(QStringLiteral("QRLabelReportType1"), ReportTypeText(kind));
    report.SetHeaderCaptions(CurrentLanguage(workspace.settings));
    Finish(workspace, kind, result);
    for (const QString& name : report.FieldNames())
        report.SetFieldEnabled(name, true);
    return result;
}
