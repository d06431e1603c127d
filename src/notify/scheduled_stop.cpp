// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/scheduled_stop.h"

#include "acquisition/oper_mode.h"
#include "platform/system_commands.h"

#include <exception>

namespace {
bool PeriodicChosen(const PeriodicReportChoice& choice, ReportKind kind)
{
    switch (kind) {
    case ReportKind::ByTime: return choice.byTime;
    case ReportKind::MinMaxAvg: return choice.minMaxAvg;
    case ReportKind::ByTestPoint: return choice.byTestPoint;
    case ReportKind::ByAlarm: return choice.byAlarm;
    }
    return false;
}

// A report that fails (a table error, a file that cannot be written) must
// not keep the unattended actions from the next report, the power-off and
// the end: it is logged and the actions go on.
void StartReportLogged(const std::function<void(ReportKind)>& startReport, ReportKind kind)
{
    if (!startReport)
        return;
    try {
        startReport(kind);
    } catch (const std::exception& error) {
        qCWarning(lcNotify) << "report" << static_cast<int>(kind) << "failed:" << error.what();
    }
}
}  // namespace

QDateTime StopMinute(const QDate& date, const QTime& time)
{
    return QDateTime(date, QTime(time.hour(), time.minute(), 0));
}

bool CheckScheduledStop(const QDateTime& now, ScheduleAccess& schedule, const ReportMailSwitches& mail,
                        SystemCommands& system, const ScheduledStopHooks& hooks)
{
    if (!schedule.Armed())
        return false;
    const QDateTime stopAt = schedule.StopAt();
    if (!stopAt.isValid() || now < stopAt)
        return false;
    if (hooks.pressStop)
        hooks.pressStop();
    if (!hooks.endOfProcessShowing || !hooks.endOfProcessShowing())
        return false;

    schedule.Disarm();
    for (ReportKind kind : kReportKindsInOrder)
        if (mail.IsOn(kind))
            StartReportLogged(hooks.startReport, kind);
    if (schedule.PowerOffAfterStop())
        ShutdownPc(system, hooks.shutdownProgram.isEmpty() ? ShutdownProgram() : hooks.shutdownProgram);
    if (hooks.endProgram)
        hooks.endProgram();
    return true;
}

QString ShutdownProgram()
{
    return QStringLiteral("/usr/sbin/shutdown");
}

QStringList ShutdownArguments()
{
    return {QStringLiteral("--poweroff"), QStringLiteral("+1")};
}

bool ShutdownPc(SystemCommands& system, const QString& program)
{
    const int code = system.RunCommand(program, ShutdownArguments());
    if (code == 0)
        return true;
    qCWarning(lcNotify).noquote() << "the power-off was refused:" << program
                                  << ShutdownArguments().join(QLatin1Char(' ')) << "ended with" << code
                                  << "(the station's user needs the right to power the PC off)";
    return false;
}

void SendPeriodicReports(const OperModeAccess& mode, const PeriodicTimer& timer,
                         const std::function<void(ReportKind)>& startReport)
{
    if (!mode.ReportsEveryOn())
        return;
    if (timer.stop)
        timer.stop();
    const PeriodicReportChoice choice = mode.PeriodicReports();
    for (ReportKind kind : kReportKindsInOrder)
        if (PeriodicChosen(choice, kind))
            StartReportLogged(startReport, kind);
    if (timer.restart)
        timer.restart();
}
