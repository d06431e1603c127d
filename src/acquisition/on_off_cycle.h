// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTime>

// One second step of an ON/OFF countdown: the picker's time goes one second
// back (00:00:00 wraps to 23:59:59) and the phase ends when less than three
// seconds are left. A phase of T seconds (T >= 3) therefore lasts T - 2
// ticks, 1 or 2 seconds end at the first tick, and 00:00:00 lasts a day less
// two seconds.
bool TickCountdown(QTime& time);

// What the one-second tick needs of its surroundings. The run controller and
// the main window provide it; tests provide a fake.
class OnOffCycleHost {
public:
    virtual ~OnOffCycleHost() = default;
    virtual bool CycleTicked() const = 0;           // ContadorStartStop
    virtual bool InOnPhase() const = 0;             // a run of the cycle is active (Run down)
    virtual bool InOffPhase() const = 0;            // "WAITING TO RUN", no run start in progress
    virtual QTime OnTime() const = 0;
    virtual void SetOnTime(const QTime& time) = 0;
    virtual QTime OffTime() const = 0;
    virtual void SetOffTime(const QTime& time) = 0;
    virtual QString SavedOnText() const = 0;        // GuardaContaStop
    virtual QString SavedOffText() const = 0;       // GuardaContaStart
    virtual void RequestStop() = 0;                 // Stop down
    virtual void StartNextRun() = 0;                // Stop up, then press Run
};

// The countdown part of Timer1Timer: the ON countdown first, then the OFF
// countdown, each only in its phase.
class OnOffCycle {
public:
    explicit OnOffCycle(OnOffCycleHost& host) : m_host(host) {}

    void Tick();
    bool TickOnCountdown();
    bool TickOffCountdown();

private:
    OnOffCycleHost& m_host;
};
