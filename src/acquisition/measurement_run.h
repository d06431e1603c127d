// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "acquisition/on_off_cycle.h"
#include "acquisition/run_host.h"

#include <QString>

class Workspace;
struct TestPoint;
struct Text;

// Where the run stands, as the status panel shows it.
enum class RunPhase { Stopped, Running, WaitingToRun };

// The measurement run: walks the test point table, tunes, waits, reads and
// appends one Measurements row per visit, repeating as the operating mode
// says, until the Stop request. Runs on the one thread; every wait lets
// window events run, so Stop and the timers work while it is busy.
class MeasurementRun final : private OnOffCycleHost {
public:
    MeasurementRun(Workspace& workspace, RunHost& host);

    // Run start, run loop and run end. A press while an earlier start is still
    // unfinished (inside one of its message boxes or waits) is ignored.
    void RunMeasureBtnClick();
    // One visit; `visit` counts from 1 since the run start.
    void MeasureTestPoint(int visit);
    // Waits `seconds`, showing them counting down; ends early on Stop.
    void CountdownWait(int seconds);

    void EnterRunningState();
    void EnterStoppedState();
    void EnterWaitingToRunState();

    // The ON/OFF countdowns of Timer1Timer (after the clock and the scheduled stop).
    void Timer1Tick();
    // "STOP" of the operating mode window: ends an ON/OFF cycle.
    void BtnStopClick();
    // The Run press the cycle queued with RunHost::QueueRunPress.
    void CyclePress();

    RunPhase Phase() const { return m_phase; }
    // The analyser's (the GPS receiver's) device went away during the run and
    // has not answered again yet.
    bool AnalyserLost() const { return m_analyserLost; }
    bool GpsReceiverLost() const { return m_gpsLost; }
    bool StartInProgress() const { return m_inStart; }
    int VisitCounter() const { return m_visit; }
    // GuardaContaStop / GuardaContaStart: the ON and OFF durations as
    // "hh:nn:ss", saved at every run start, restoring the countdowns.
    QString GuardaContaStop() const { return m_savedOn; }
    QString GuardaContaStart() const { return m_savedOff; }

private:
    // OnOffCycleHost
    bool CycleTicked() const override;
    bool InOnPhase() const override;
    bool InOffPhase() const override;
    QTime OnTime() const override;
    void SetOnTime(const QTime& time) override;
    QTime OffTime() const override;
    void SetOffTime(const QTime& time) override;
    QString SavedOnText() const override { return m_savedOn; }
    QString SavedOffText() const override { return m_savedOff; }
    void RequestStop() override;
    void StartNextRun() override;

    void ShowStatus(const Text& text, PanelColour colour);
    // "RUNNING", or what the run is missing while it goes on without it.
    void ShowRunningStatus();
    // Before a visit: a device that went away is opened again under its COM
    // name and the analyser identified again. While it stays away the visit
    // goes on with the port closed, so every command fails at once and the
    // readings are stored as 0.
    void ReachAnalyser();
    void StartAndLoop();
    void WriteRow(Dataset& testPoints, Dataset& measurements);
    void StampPosition(Dataset& measurements);

    Workspace& m_workspace;
    RunHost& m_host;
    OnOffCycle m_cycle;
    RunPhase m_phase = RunPhase::Stopped;
    bool m_inStart = false;
    bool m_cyclePressPending = false;
    // The cycle's press came during a port search and waits for its end.
    bool m_cyclePressDeferred = false;
    int m_visit = 0;
    bool m_analyserLost = false;
    bool m_gpsLost = false;
    QString m_savedOn = QStringLiteral("00:00:00");
    QString m_savedOff = QStringLiteral("00:00:00");
};
