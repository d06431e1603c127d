// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workspace/availability.h"

#include <QString>
#include <optional>

class GpsReader;

class AnalyserCommands;
class TSerialPort;
class AutoAlarmAccess;
class Dataset;
class OperModeAccess;

// Colours of the status panel.
enum class PanelColour { Red, Blue, Green, Yellow };

// What a measurement run needs of the program around it: the main window is
// one host, the headless station another, tests a third. Every method is
// called on the one thread, possibly from inside the run's waits.
class RunHost {
public:
    virtual ~RunHost() = default;

    // ---- Run and Stop buttons ----------------------------------------------------
    // The Stop request: the Stop button is down.
    virtual bool StopRequested() const = 0;
    // Stop down (Run up) / Stop up (Run down).
    virtual void SetStopDown() = 0;
    virtual void SetStopUp() = 0;
    // Presses Run after the current event (the ON/OFF cycle's next start must
    // not run inside the timer tick that asked for it): the host later calls
    // MeasurementRun::CyclePress().
    virtual void QueueRunPress() = 0;

    // ---- Status panel ------------------------------------------------------------
    // Text (nothing: keep the text) on a colour; repainted at once.
    virtual void ShowPanel(const std::optional<QString>& text, PanelColour colour) = 0;

    // ---- Settings windows, read at the moment of use -----------------------------
    virtual OperModeAccess& OperMode() = 0;
    virtual AutoAlarmAccess& AutoAlarm() = 0;

    // ---- Tables: nullptr when none is selected -----------------------------------
    virtual Dataset* TestPointTable() = 0;
    virtual Dataset* MeasurementsTable() = 0;

    // ---- Analyser ----------------------------------------------------------------
    virtual AnalyserCommands& Analyser() = 0;
    // "*?NA" on the open port; true for a known model.
    virtual bool IdentifyAnalyser() = 0;
    // The analyser's port, opened again by the run when its device went away;
    // nullptr where there is no port (scripted analysers).
    virtual TSerialPort* AnalyserPort() { return nullptr; }

    // ---- Position: the GPS window (reception switch and reader) ------------------
    virtual GpsReader& Gps() = 0;

    // ---- What the run tells its front end --------------------------------------
    // Each front end decides what an event means for its controls (the
    // windows move the availability model; the headless station prints).
    virtual void RunEventOccurred(RunEvent event) = 0;

    // ---- Notices and later work --------------------------------------------------
    virtual void ShowEndOfProcess() = 0;
    // TimerSendReportsEvery.
    virtual void DisablePeriodicReports() = 0;
    virtual void ArmPeriodicReports(int intervalMs, bool enabled) = 0;
    // The alarm evaluation of a completed, not yet posted Measurements row,
    // with the test point table on the visited test point (alarm "ON").
    virtual void EvaluateAlarms() {}
    // The row is stored: `measurements` is on it (the headless station prints it).
    virtual void RowStored(const Dataset& measurements) { (void)measurements; }
};
