#pragma once

#include <QString>
#include <optional>

class GpsReader;

class AnalyserCommands;
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
    virtual void SetRunButtonEnabled(bool enabled) = 0;

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

    // ---- Position: the GPS window (reception switch and reader) ------------------
    virtual GpsReader& Gps() = 0;

    // ---- Control locking ---------------------------------------------------------
    // The ON/OFF cycle hides Run and Stop and enables the operating mode's STOP;
    // otherwise the operating mode menu item is disabled for the run.
    virtual void HideRunButtonsForCycle() = 0;
    virtual void ShowRunButtons() = 0;
    virtual void DisableOperatingModeMenu() = 0;
    // Run start: Run disabled, Stop enabled, the repetition settings locked.
    virtual void LockStartControls() = 0;
    // A start refused for want of an analyser: the port search is offered
    // again, the exploration controls are locked, Run is enabled again and
    // Stop goes down disabled.
    virtual void OfferPortSearchAgain() = 0;
    // Everything that could start a second user of the analyser link or
    // replace a table under the run.
    virtual void LockRunControls() = 0;
    // The reverse; the report commands only when a Measurements table is open.
    virtual void ReleaseRunControls() = 0;

    // ---- Notices and later work --------------------------------------------------
    virtual void ShowEndOfProcess() = 0;
    // TimerSendReportsEvery.
    virtual void DisablePeriodicReports() = 0;
    virtual void ArmPeriodicReports(int intervalMs, bool enabled) = 0;
    // The alarm evaluation of a completed, not yet posted Measurements row,
    // with the test point table on the visited test point (alarm "ON").
    virtual void EvaluateAlarms() {}
    // The row is complete and about to be stored (the headless station prints it).
    virtual void RowCompleted(const Dataset& measurements) { (void)measurements; }
};
