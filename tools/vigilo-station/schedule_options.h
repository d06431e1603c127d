// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/scheduled_stop.h"
#include "workspace/report_kind.h"

#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class MeasurementRun;
class OperModeValues;
class QCommandLineParser;
class Workspace;

// The scheduled stop, the power-off and the periodic reports of the station
// without windows: the same rules as the shutdown window and the operating
// mode window, set from options.
void AddScheduleOptions(QCommandLineParser& parser);

struct ScheduleOptions {
    ScheduleValues schedule;
    QString powerOffProgram;
    ReportMailSwitches mail;
    bool anyReport = false;  // a report may be started
};

// Reads the options into `mode` (the periodic reports) and the result; an
// error text for a bad option.
std::optional<ScheduleOptions> ParseScheduleOptions(const QCommandLineParser& parser, OperModeValues& mode,
                                                    QString& error);

// How the station makes a report of a kind: saved and mailed when its mail
// switch is on, otherwise written as a PDF. Null while this build has no
// report commands; the report options are then refused.
std::function<void(ReportKind)> StationReports(Workspace& workspace);
bool StationMakesReports();

// Timer1's scheduled stop and TimerSendReportsEvery for the station.
class StationSchedule {
public:
    // `startReport` makes one report: mailed when its switch is on,
    // otherwise written as a PDF (there is no screen to preview on).
    StationSchedule(Workspace& workspace, const ScheduleOptions& options, const OperModeValues& mode,
                    std::function<void(ReportKind)> startReport);

    // Timer1, before the ON/OFF countdowns: true when the station is ending.
    bool CheckStop(MeasurementRun& run, const std::function<void()>& pressStop,
                   const std::function<void()>& endProgram);
    // The run shows "End of Process".
    void EndOfProcessShown() { m_endOfProcessShown = true; }
    // The run's handling of TimerSendReportsEvery.
    void DisablePeriodicReports() { m_periodic.stop(); }
    void ArmPeriodicReports(int intervalMs, bool enabled);
    // An armed stop keeps the station up after its run, until the stop.
    bool WaitsForTheStop() const { return m_options.schedule.Armed(); }

private:
    Workspace& m_workspace;
    ScheduleOptions m_options;
    const OperModeValues& m_mode;
    std::function<void(ReportKind)> m_startReport;
    QTimer m_periodic;
    bool m_endOfProcessShown = false;
};
