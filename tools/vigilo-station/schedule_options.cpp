// SPDX-License-Identifier: GPL-3.0-or-later
#include "schedule_options.h"
#include "tool_options.h"

#include "acquisition/measurement_run.h"
#include "acquisition/oper_mode.h"
#include "platform/event_pump.h"
#include "reports/acquired_report.h"
#include "reports/company_data.h"
#include "testpoints/table_layouts.h"
#include "workspace/report_command.h"
#include "workspace/workspace.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {
const QString kStopAt = QStringLiteral("stop-at");
const QString kPowerOff = QStringLiteral("power-off");
const QString kPowerOffCommand = QStringLiteral("power-off-command");
const QString kReportsEvery = QStringLiteral("reports-every");
const QString kPeriodicReport = QStringLiteral("periodic-report");
const QString kMailReport = QStringLiteral("mail-report");

void Choose(PeriodicReportChoice& choice, ReportKind kind)
{
    switch (kind) {
    case ReportKind::ByTime: choice.byTime = true; break;
    case ReportKind::MinMaxAvg: choice.minMaxAvg = true; break;
    case ReportKind::ByTestPoint: choice.byTestPoint = true; break;
    case ReportKind::ByAlarm: choice.byAlarm = true; break;
    }
}
}  // namespace

void AddScheduleOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {kStopAt,
         QStringLiteral("Scheduled stop: at this local date and minute the run stops; once it has ended the "
                        "--mail-report reports are saved and mailed, the PC powers off with --power-off, and "
                        "the station ends. The station waits for it after its run."),
         QStringLiteral("YYYY-MM-DD HH:MM")},
        {kPowerOff, QStringLiteral("After the scheduled stop, power the PC off (one minute later).")},
        {kPowerOffCommand,
         QStringLiteral("The power-off program, run with \"--poweroff +1\" (default /usr/sbin/shutdown)."),
         QStringLiteral("program")},
        {kReportsEvery,
         QStringLiteral("Periodic reports during and after the run, every N minutes (1-2880)."),
         QStringLiteral("minutes")},
        {kPeriodicReport,
         QStringLiteral("A report of the periodic sending (repeatable): by-time, min-max-avg, by-test-point, "
                        "by-alarm. Mailed when also given to --mail-report, otherwise written as a PDF in "
                        "Database/SaveReports with the time in its name."),
         QStringLiteral("kind")},
        {kMailReport,
         QStringLiteral("The mail switch of a report kind (repeatable): the report is saved and mailed, by the "
                        "scheduled stop and the periodic sending."),
         QStringLiteral("kind")},
    });
}

std::optional<ScheduleOptions> ParseScheduleOptions(const QCommandLineParser& parser, OperModeValues& mode,
                                                    QString& error)
{
    ScheduleOptions options;
    const auto kinds = [&](const QString& option, const std::function<void(ReportKind)>& take) {
        for (const QString& name : parser.values(option)) {
            const std::optional<ReportKind> kind = ReportKindNamed(name, Qt::CaseInsensitive);
            if (!kind) {
                error = QStringLiteral("--%1: no report kind \"%2\" (by-time, min-max-avg, by-test-point, by-alarm)")
                            .arg(option, name);
                return false;
            }
            take(*kind);
        }
        return true;
    };

    if (parser.isSet(kStopAt)) {
        const QDateTime at = QDateTime::fromString(parser.value(kStopAt).trimmed(), QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!at.isValid()) {
            error = QStringLiteral("--stop-at takes a local date and minute \"YYYY-MM-DD HH:MM\"");
            return std::nullopt;
        }
        // Arming the stop leaves an ON/OFF cycle in the window; here the two
        // are simply not offered together.
        if (mode.mode == RepeatMode::OnOffCycle) {
            error = QStringLiteral("--stop-at does not go with --on-off");
            return std::nullopt;
        }
        if (at < StopMinute(QDate::currentDate(), QTime::currentTime())) {
            error = QStringLiteral("--stop-at %1 has passed").arg(parser.value(kStopAt));
            return std::nullopt;
        }
        options.schedule.armed = true;
        options.schedule.stopAt = StopMinute(at.date(), at.time());
    }
    if (parser.isSet(kPowerOff)) {
        if (!options.schedule.armed) {
            error = QStringLiteral("--power-off needs --stop-at");
            return std::nullopt;
        }
        options.schedule.powerOff = true;
    }
    options.powerOffProgram = parser.isSet(kPowerOffCommand) ? parser.value(kPowerOffCommand) : ShutdownProgram();

    if (!kinds(kMailReport, [&](ReportKind kind) { options.mail.Set(kind, true); }))
        return std::nullopt;
    PeriodicReportChoice periodic;
    if (!kinds(kPeriodicReport, [&](ReportKind kind) { Choose(periodic, kind); }))
        return std::nullopt;
    if (parser.isSet(kReportsEvery)) {
        bool ok = false;
        const int minutes = parser.value(kReportsEvery).toInt(&ok);
        const EditLimits limits = LimitsOf(OperModeEdit::TimeEvery);
        if (!ok || minutes < limits.smallest || minutes > limits.largest) {
            error = QStringLiteral("--reports-every must be %1 to %2 minutes").arg(limits.smallest).arg(limits.largest);
            return std::nullopt;
        }
        if (parser.values(kPeriodicReport).isEmpty()) {
            error = QStringLiteral("--reports-every needs at least one --periodic-report");
            return std::nullopt;
        }
        mode.reportsEvery = true;
        mode.timeEvery = minutes;
        mode.periodicReports = periodic;
    } else if (!parser.values(kPeriodicReport).isEmpty()) {
        error = QStringLiteral("--periodic-report needs --reports-every");
        return std::nullopt;
    }
    options.anyReport = mode.reportsEvery || (options.schedule.armed && !parser.values(kMailReport).isEmpty());
    if (options.anyReport && !StationMakesReports()) {
        error = QStringLiteral("this build of the station makes no reports: leave out --reports-every and --mail-report");
        return std::nullopt;
    }
    return options;
}

StationSchedule::StationSchedule(Workspace& workspace, const ScheduleOptions& options, const OperModeValues& mode,
                                 std::function<void(ReportKind)> startReport)
    : m_workspace(workspace), m_options(options), m_mode(mode), m_startReport(std::move(startReport))
{
    m_workspace.reportMail = options.mail;
    QObject::connect(&m_periodic, &QTimer::timeout, [this] {
        SendPeriodicReports(m_mode, {[this] { m_periodic.stop(); }, [this] { m_periodic.start(); }}, m_startReport);
    });
}

void StationSchedule::ArmPeriodicReports(int intervalMs, bool enabled)
{
    m_periodic.setInterval(intervalMs);
    if (enabled)
        m_periodic.start();
}

bool StationSchedule::CheckStop(MeasurementRun& run, const std::function<void()>& pressStop,
                                const std::function<void()>& endProgram)
{
    ScheduledStopHooks hooks;
    hooks.pressStop = pressStop;
    // "End of Process" stays up in the window until OK; here it counts as
    // showing from the end of the first run on, while no other runs.
    hooks.endOfProcessShowing = [this, &run] {
        return m_endOfProcessShown && run.Phase() == RunPhase::Stopped && !run.StartInProgress();
    };
    hooks.startReport = m_startReport;
    hooks.endProgram = endProgram;
    hooks.shutdownProgram = m_options.powerOffProgram;
    return CheckScheduledStop(m_workspace.pump.Now(), m_options.schedule, m_workspace.reportMail, m_workspace.system,
                              hooks);
}

bool StationMakesReports()
{
    return true;
}

std::function<void(ReportKind)> StationReports(Workspace& workspace)
{
    // The header's company data from the settings, as the company data
    // window fills it at start-up; the report number stays empty.
    if (!workspace.acceptCompanyData) {
        workspace.acceptCompanyData = [&workspace] {
            const CompanyData company = CompanyData::FromSettings(workspace.settings);
            for (int i = 0; i < CompanyData::kItemCount; ++i) {
                const auto item = static_cast<CompanyData::Item>(i);
                workspace.AcquiredQReport().SetLabelText(CompanyData::HeaderLabel(item),
                                                         company.texts[static_cast<size_t>(i)]);
            }
        };
    }
    return [&workspace](ReportKind kind) {
        const ReportCommandResult result = RunReportCommand(workspace, kind, false);
        QString line;
        switch (result.outcome) {
        case ReportCommandResult::Outcome::Mailed:
            line = QStringLiteral("report: %1 %2 %3")
                       .arg(ReportKindName(kind), result.mailSent ? QStringLiteral("mailed") : QStringLiteral("NOT mailed"),
                            result.reportFile);
            break;
        case ReportCommandResult::Outcome::Previewed: {
            // No screen to preview on: the report is kept as a PDF named by
            // its kind and the moment.
            QDir().mkpath(SaveReportsFolder());
            const QString pdf = QStringLiteral("%1/%2_%3.pdf")
                                    .arg(SaveReportsFolder(), ReportKindName(kind),
                                         workspace.pump.Now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
            workspace.AcquiredQReport().ExportPdf(pdf);
            line = QStringLiteral("report: %1 written %2").arg(ReportKindName(kind), pdf);
            break;
        }
        case ReportCommandResult::Outcome::Refused:
            line = QStringLiteral("report: %1 refused").arg(ReportKindName(kind));
            break;
        }
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    };
}
