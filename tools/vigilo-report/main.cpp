// SPDX-License-Identifier: GPL-3.0-or-later
// The reports and the CSV export without windows: a station without a screen
// builds with this what the report buttons would preview, through the same
// report command (the Filter table included), and writes the files asked for.

#include "console.h"
#include "tool_options.h"
#include "notify/mail_service.h"
#include "platform/errors.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "platform/settings.h"
#include "platform/system_commands.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "reports/acquired_report.h"
#include "reports/company_data.h"
#include "reports/csv_export.h"
#include "testpoints/table_layouts.h"
#include "workspace/report_command.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <optional>

namespace {
enum Exit { kOk = 0, kUsage = 2, kTableProblem = 4, kNotMailed = 5 };

void Print(const QString& line)
{
    PrintLine(stdout, line);
}

void PrintError(const QString& line)
{
    PrintToolError("vigilo-report", line);
}

}  // namespace

int main(int argc, char** argv)
{
    // PDF pages need fonts, not a screen.
    UseOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vigilo-report"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds a report of a Measurements table as the report buttons do, or exports the table "
                       "as CSV."));
    parser.addHelpOption();
    const QCommandLineOption folderOpt(QStringLiteral("folder"),
                                       QStringLiteral("Program folder (config.cfg, Database/)."), QStringLiteral("dir"));
    const QCommandLineOption measurementsOpt(QStringLiteral("measurements"), QStringLiteral("Measurements table."),
                                             QStringLiteral("file"));
    const QCommandLineOption testpointsOpt(QStringLiteral("testpoints"),
                                           QStringLiteral("Test point set (every kind but by-time)."),
                                           QStringLiteral("file"));
    const QCommandLineOption kindOpt(QStringLiteral("kind"),
                                     QStringLiteral("min-max-avg, by-time, by-test-point or by-alarm."),
                                     QStringLiteral("kind"));
    const QCommandLineOption pdfOpt(QStringLiteral("pdf"), QStringLiteral("Write the report as PDF."),
                                    QStringLiteral("file"));
    const QCommandLineOption qrpOpt(QStringLiteral("qrp"), QStringLiteral("Save the prepared report (.qrp)."),
                                    QStringLiteral("file"));
    const QCommandLineOption numberOpt(QStringLiteral("report-number"),
                                       QStringLiteral("The report number of the header."), QStringLiteral("n"));
    const QCommandLineOption languageOpt(QStringLiteral("language"),
                                         QStringLiteral("english or spanish (default: config.cfg, else english)."),
                                         QStringLiteral("word"));
    const QCommandLineOption only1TPOpt(QStringLiteral("only-one-test-point"),
                                        QStringLiteral("The run looped a single test point (picks the message when "
                                                       "there are fewer acquisitions than test points)."));
    const QCommandLineOption csvOpt(QStringLiteral("csv"), QStringLiteral("Export the Measurements table as CSV."),
                                    QStringLiteral("file"));
    const QCommandLineOption mailOpt(
        QStringLiteral("mail"),
        QStringLiteral("Save the report as Database/SaveReports/<number><suffix>.qrp with its PDF and mail both "
                       "with the mail settings of config.cfg, as the report command does with its mail switch on "
                       "(5 when the mail is not sent)."));
    parser.addOptions({folderOpt, measurementsOpt, testpointsOpt, kindOpt, pdfOpt, qrpOpt, numberOpt, languageOpt,
                       only1TPOpt, csvOpt, mailOpt});
    parser.process(app);

    const auto usage = [](const QString& text) {
        PrintError(text);
        PrintError(QStringLiteral("see --help"));
        return kUsage;
    };
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().constFirst()));
    if (!parser.isSet(folderOpt))
        return usage(QStringLiteral("give the program folder with --folder"));
    if (!parser.isSet(measurementsOpt))
        return usage(QStringLiteral("give the Measurements table with --measurements"));
    const bool csv = parser.isSet(csvOpt);
    if (csv == parser.isSet(kindOpt))
        return usage(QStringLiteral("give either --kind or --csv"));
    if (csv) {
        for (const QCommandLineOption* reportOnly : {&testpointsOpt, &pdfOpt, &qrpOpt, &numberOpt, &only1TPOpt, &mailOpt})
            if (parser.isSet(*reportOnly))
                return usage(QStringLiteral("--%1 belongs to a report, not to --csv").arg(reportOnly->names().first()));
    }
    std::optional<ReportKind> kind;
    if (!csv) {
        kind = ReportKindNamed(parser.value(kindOpt), Qt::CaseSensitive);
        if (!kind)
            return usage(QStringLiteral("--kind must be min-max-avg, by-time, by-test-point or by-alarm"));
        if (*kind != ReportKind::ByTime && !parser.isSet(testpointsOpt))
            return usage(QStringLiteral("--kind %1 needs the test point set: give --testpoints").arg(parser.value(kindOpt)));
    }

    const QString folder = AbsolutePath(parser.value(folderOpt));
    if (!QFileInfo(folder).isDir())
        return usage(QStringLiteral("no such folder: %1").arg(folder));
    SetProgramFolder(folder);
    Settings settings(ProgramFolder());
    settings.Load();
    if (parser.isSet(languageOpt)) {
        const QString word = parser.value(languageOpt);
        if (word != QLatin1String("english") && word != QLatin1String("spanish"))
            return usage(QStringLiteral("--language must be english or spanish"));
        settings.Replace(Settings::kLanguageLine, word);
    } else if (CurrentLanguage(settings) == Language::Other) {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
    }

    const QString measurementsFile = AbsolutePath(parser.value(measurementsOpt));
    if (!QFileInfo::exists(measurementsFile))
        return usage(QStringLiteral("no such Measurements table: %1").arg(measurementsFile));

    if (csv) {
        const QString target = AbsolutePath(parser.value(csvOpt));
        try {
            WriteTableCsv(measurementsFile, target);
        } catch (const VigiloError& error) {
            PrintError(Pick(settings, texts::kNoReportTable).value_or(QString()) + QStringLiteral(" (") + error.Text() +
                       QLatin1Char(')'));
            return kTableProblem;
        }
        Print(QStringLiteral("exported: %1").arg(target));
        return kOk;
    }

    QtEventPump pump;
    ConsoleDialogs dialogs("vigilo-report");
    QtSystemCommands system;
    Workspace workspace(pump, dialogs, system, settings);
    RegisterDatabaseNames();
    // With --mail the command saves and mails instead of previewing, as the
    // shutdown window's mail switch makes it do.
    MailService mail(pump, settings, dialogs);
    if (parser.isSet(mailOpt)) {
        CopyMailSettingsLines(mail.settings, settings);
        workspace.mailer = &mail.delivery;
        workspace.reportMail.Set(*kind, true);
    }
    try {
        // Read where they are: a report changes neither table.
        workspace.ReportTable.SetTableName(measurementsFile);
        workspace.ReportTable.Open();
        if (parser.isSet(testpointsOpt)) {
            const QString testPointsFile = AbsolutePath(parser.value(testpointsOpt));
            if (!QFileInfo::exists(testPointsFile))
                return usage(QStringLiteral("no such test point set: %1").arg(testPointsFile));
            workspace.AcquiredTable.SetTableName(testPointsFile);
            workspace.AcquiredTable.Open();
        }

        // The company data of the folder's settings, with the report number
        // given here; the settings file is left as it is.
        CompanyData company = CompanyData::FromSettings(settings);
        company.texts[CompanyData::ReportNumber] = parser.value(numberOpt);
        TAcquiredQReport& report = workspace.AcquiredQReport();
        workspace.acceptCompanyData = [&] {
            for (int i = 0; i < CompanyData::kItemCount; ++i) {
                const auto item = static_cast<CompanyData::Item>(i);
                report.SetLabelText(CompanyData::HeaderLabel(item), company.texts[static_cast<size_t>(i)]);
            }
        };

        const ReportCommandResult result = RunReportCommand(workspace, *kind, parser.isSet(only1TPOpt));
        if (result.outcome == ReportCommandResult::Outcome::Refused)
            return kTableProblem;
        if (result.outcome == ReportCommandResult::Outcome::Mailed) {
            Print(QStringLiteral("saved: %1").arg(result.reportFile));
            Print(QStringLiteral("pdf: %1").arg(result.pdfFile));
            Print(QStringLiteral("mail: %1").arg(result.mailSent ? QStringLiteral("sent") : QStringLiteral("not sent")));
            if (!result.mailSent)
                return kNotMailed;
        }
        const auto prepared = report.LastPrepared();
        Print(QStringLiteral("report: %1, %2 pages")
                  .arg(ReportTypeText(*kind))
                  .arg(prepared ? prepared->PageCount() : 0));
        if (parser.isSet(qrpOpt)) {
            const QString path = AbsolutePath(parser.value(qrpOpt));
            report.SaveReport(path, CurrentLanguage(settings));
            Print(QStringLiteral("saved: %1").arg(path));
        }
        if (parser.isSet(pdfOpt)) {
            const QString path = AbsolutePath(parser.value(pdfOpt));
            report.ExportPdf(path);
            Print(QStringLiteral("pdf: %1").arg(path));
        }
    } catch (const VigiloError& error) {
        PrintError(error.Text());
        return kTableProblem;
    }
    return dialogs.shown > 0 ? kTableProblem : kOk;
}
