// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTime>

// The operating mode as the run sees it: the run reads every setting at the
// moment it needs it (the user may change a wait while a run is going on),
// and writes back only what the run itself changes (the loop count, the
// automatic alarm pass, the ON/OFF countdowns).
//
// Exactly one repetition mode is ticked at any time.
enum class RepeatMode { Continuous, Loops, OnOffCycle, SingleTestPoint };

// Which reports the periodic sending includes.
struct PeriodicReportChoice {
    bool minMaxAvg = false;   // EveryFilteredReport
    bool byTime = false;      // EveryCompletedReport
    bool byTestPoint = false; // EveryGroupedReport
    bool byAlarm = false;     // EveryAlarmReport
};

class OperModeAccess {
public:
    virtual ~OperModeAccess() = default;

    virtual RepeatMode Mode() const = 0;
    // Ticks one mode (the others are unticked, as by the user's click).
    virtual void SetMode(RepeatMode mode) = 0;

    // BucleRepeticiones: passes left in "Loops" mode.
    virtual int LoopsLeft() const = 0;
    virtual void SetLoopsLeft(int count) = 0;

    // Waits in seconds, within their validated ranges.
    virtual int MeasureDelay() const = 0;        // TimeForMeasure
    virtual int WaitBetweenPoints() const = 0;   // TimeBetweenTP
    virtual int WaitBetweenLoops() const = 0;    // TimeBetweenTable

    // Periodic reports: ReportsEverySeconds, TimeEvery (minutes) and the four boxes.
    virtual bool ReportsEveryOn() const = 0;
    virtual int ReportPeriodMinutes() const = 0;
    virtual PeriodicReportChoice PeriodicReports() const = 0;

    // cbAutoAlarm: the next run is one pass deriving alarm thresholds.
    virtual bool AutoAlarmPass() const = 0;
    virtual void SetAutoAlarmPass(bool on) = 0;

    // ContadorStop ("ON Time") and ContadorStart ("OFF Time"): times of day
    // used as durations; they count down during an ON/OFF cycle.
    virtual QTime OnDuration() const = 0;
    virtual void SetOnDuration(const QTime& time) = 0;
    virtual QTime OffDuration() const = 0;
    virtual void SetOffDuration(const QTime& time) = 0;
};

// The operating mode without a window: the headless station and tests.
// Starts from the same defaults as the window.
class OperModeValues final : public OperModeAccess {
public:
    RepeatMode mode = RepeatMode::Continuous;
    int loopCount = 1;
    int timeForMeasure = 0;
    int timeBetweenTP = 0;
    int timeBetweenTable = 0;
    bool reportsEvery = false;
    int timeEvery = 60;
    PeriodicReportChoice periodicReports;
    bool autoAlarm = false;
    QTime onTime{0, 0, 0};
    QTime offTime{0, 0, 0};

    RepeatMode Mode() const override { return mode; }
    void SetMode(RepeatMode m) override { mode = m; }
    int LoopsLeft() const override { return loopCount; }
    void SetLoopsLeft(int count) override { loopCount = count; }
    int MeasureDelay() const override { return timeForMeasure; }
    int WaitBetweenPoints() const override { return timeBetweenTP; }
    int WaitBetweenLoops() const override { return timeBetweenTable; }
    bool ReportsEveryOn() const override { return reportsEvery; }
    int ReportPeriodMinutes() const override { return timeEvery; }
    PeriodicReportChoice PeriodicReports() const override { return periodicReports; }
    bool AutoAlarmPass() const override { return autoAlarm; }
    void SetAutoAlarmPass(bool on) override { autoAlarm = on; }
    QTime OnDuration() const override { return onTime; }
    void SetOnDuration(const QTime& time) override { onTime = time; }
    QTime OffDuration() const override { return offTime; }
    void SetOffDuration(const QTime& time) override { offTime = time; }
};

// The number edits of the operating mode window and their exit validation.
enum class OperModeEdit { TimeForMeasure, TimeBetweenTP, TimeBetweenTable, TimeEvery, BucleRepeticiones };

struct EditLimits {
    int smallest;        // what an empty text (and, where it applies, 0) becomes
    int largest;         // a larger number becomes this
    int maxLength;       // characters the edit holds
    bool zeroBecomesSmallest;
};

EditLimits LimitsOf(OperModeEdit edit);

// The text an edit holds after the user leaves it.
QString ValidateOperModeEdit(OperModeEdit edit, const QString& text);

// The number the run reads from an edit at the moment of use: the validated
// value, so a half-typed edit (cleared, or not yet left) never yields a wait
// outside its range.
int ReadOperModeEdit(OperModeEdit edit, const QString& text);

// Durations as the countdowns and the saved copies hold them.
QString FormatDuration(const QTime& time);   // "hh:nn:ss"
QTime ParseDuration(const QString& text);     // invalid text: 00:00:00
