// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notify/mail_log.h"
#include "workspace/report_kind.h"

#include <QDateTime>
#include <functional>

class OperModeAccess;
class SystemCommands;

// The scheduled stop as Timer1 reads it at every tick: the shutdown window's
// controls, or the headless station's options.
class ScheduleAccess {
public:
    virtual ~ScheduleAccess() = default;
    // CheckActiveProg.
    virtual bool Armed() const = 0;
    // DatePicker's date at TimerPicker's hour and minute (its seconds do not
    // count: the stop is a minute).
    virtual QDateTime StopAt() const = 0;
    // CheckPCoff.
    virtual bool PowerOffAfterStop() const = 0;
    // Unchecks CheckActiveProg, as its click would.
    virtual void Disarm() = 0;
};

// The schedule without a window: the headless station and tests.
class ScheduleValues final : public ScheduleAccess {
public:
    bool armed = false;
    QDateTime stopAt;
    bool powerOff = false;

    bool Armed() const override { return armed; }
    QDateTime StopAt() const override { return stopAt; }
    bool PowerOffAfterStop() const override { return powerOff; }
    void Disarm() override { armed = false; }
};

// What the scheduled stop does to the program around it.
struct ScheduledStopHooks {
    // StopMeasureBtn down: a run stops at its next check.
    std::function<void()> pressStop;
    // The "End of Process" window is showing: the run is over.
    std::function<bool()> endOfProcessShowing;
    // Starts a report command as its button would; the command itself mails
    // or previews by the kind's mail switch.
    std::function<void(ReportKind)> startReport;
    // Ends the program (after the power-off, when asked).
    std::function<void()> endProgram;
    // The power-off program; empty: ShutdownProgram().
    QString shutdownProgram;
};

// The stop minute as the schedule holds it: `date` at the hour and minute of `time`.
QDateTime StopMinute(const QDate& date, const QTime& time);

// Timer1's scheduled-stop check, before the ON/OFF countdowns. From the
// first tick at or after the stop minute it presses Stop; at the first such
// tick on which "End of Process" shows it runs the actions: disarm, the
// reports whose mail switch is on (by Time, Min/Max/Avg, by Test Point, by
// Alarm), the power-off when asked, the end of the program. Date-times are
// compared, not texts of one minute, so a visit that outlasts the stop
// minute still ends the station. True when the program is ending: the rest
// of the tick must not run.
bool CheckScheduledStop(const QDateTime& now, ScheduleAccess& schedule, const ReportMailSwitches& mail,
                        SystemCommands& system, const ScheduledStopHooks& hooks);

// The power-off program and its arguments: the systemd shutdown command
// powers the PC off one minute later (its finest delay), stopping every
// program on the way; `shutdown -c` cancels it within that minute.
QString ShutdownProgram();
QStringList ShutdownArguments();

// Asks the operating system to power the PC off. False (logged) when it was
// refused, for instance for want of the right to do it.
bool ShutdownPc(SystemCommands& system, const QString& program = ShutdownProgram());

// TimerSendReportsEvery's tick: with "Send reports every" ticked, the timer
// stops, the report commands whose periodic boxes are ticked start in the
// order by Time, Min/Max/Avg, by Test Point, by Alarm, and the timer starts
// a full new period. Unticked, nothing happens and the timer keeps its period.
struct PeriodicTimer {
    std::function<void()> stop;
    std::function<void()> restart;
};
void SendPeriodicReports(const OperModeAccess& mode, const PeriodicTimer& timer,
                         const std::function<void(ReportKind)>& startReport);
