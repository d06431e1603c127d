// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "acquisition/measurement_run.h"
#include "acquisition/run_host.h"
#include "instrument/analyser_commands.h"

#include <functional>
#include <memory>
#include <vector>

class AlarmMailAccess;
class AnalyserLink;
class GpsReader;
class QWidget;
class TAutoAlarm;
class TFormFinishProcess;
class TOperMode;
class TVigilo;
class Workspace;

// The windows the run reaches on the desktop.
struct RunWindows {
    TVigilo* main = nullptr;
    TOperMode* operMode = nullptr;
    TAutoAlarm* autoAlarm = nullptr;
    TFormFinishProcess* finishProcess = nullptr;
    GpsReader* gps = nullptr;
    AnalyserLink* link = nullptr;
    // The alarm thresholds window: the mailing switch and the mail body buffer.
    AlarmMailAccess* alarmMail = nullptr;
};

// The main window as a run host: the Run and Stop buttons, the status panel,
// the timers; what the run's events mean for the controls of every window is
// the availability model's business.
class MainWindowRunHost final : public RunHost {
public:
    MainWindowRunHost(Workspace& workspace, const RunWindows& windows);

    // Connects Run, the operating mode's STOP, the menu items of the two
    // settings windows and the ON/OFF countdowns of Timer1.
    void Connect();

    MeasurementRun& Run() { return m_run; }

    bool StopRequested() const override;
    void SetStopDown() override;
    void SetStopUp() override;
    void QueueRunPress() override;
    void ShowPanel(const std::optional<QString>& text, PanelColour colour) override;
    OperModeAccess& OperMode() override;
    AutoAlarmAccess& AutoAlarm() override;
    Dataset* TestPointTable() override;
    Dataset* MeasurementsTable() override;
    AnalyserCommands& Analyser() override;
    bool IdentifyAnalyser() override;
    TSerialPort* AnalyserPort() override;
    GpsReader& Gps() override;
    void RunEventOccurred(RunEvent event) override;
    void ShowEndOfProcess() override;
    void DisablePeriodicReports() override;
    void ArmPeriodicReports(int intervalMs, bool enabled) override;
    void EvaluateAlarms() override;

private:
    Workspace& m_workspace;
    RunWindows m_w;
    LinkCommands<AnalyserLink> m_commands;
    MeasurementRun m_run;
};
