// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/scheduled_stop.h"

#include "support/recording_mailer.h"
#include "unit/acquisition/run_fixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

namespace {
const QDateTime kStart(QDate(2026, 1, 15), QTime(10, 0, 0));

QString KindName(ReportKind kind)
{
    switch (kind) {
    case ReportKind::ByTime: return QStringLiteral("byTime");
    case ReportKind::MinMaxAvg: return QStringLiteral("MinMaxAvg");
    case ReportKind::ByTestPoint: return QStringLiteral("byTestPoint");
    case ReportKind::ByAlarm: return QStringLiteral("byAlarm");
    }
    return {};
}

// Timer1 on the virtual clock with the scheduled stop check and a recording
// of what it did; "End of Process" shows from `endOfProcessFromMs` on.
struct ScheduleFixture {
    ScheduleFixture()
    {
        schedule.armed = true;
        schedule.stopAt = StopMinute(QDate(2026, 1, 15), QTime(10, 1, 40));
        hooks.pressStop = [this] {
            if (!stopPressedAtMs)
                stopPressedAtMs = clock.ElapsedMs();
        };
        hooks.endOfProcessShowing = [this] {
            return endOfProcessFromMs && clock.ElapsedMs() >= *endOfProcessFromMs;
        };
        hooks.startReport = [this](ReportKind kind) {
            reports << KindName(kind);
            if (failingReport && kind == *failingReport)
                throw std::runtime_error("disk full");
        };
        hooks.endProgram = [this] { endedAtMs = clock.ElapsedMs(); };
    }

    // Ticks every second until the program ends or `ms` pass; counts the
    // ticks after the end (there must be none: the tick stops there).
    void TickFor(qint64 ms)
    {
        clock.Every(1000, [this] {
            if (endedAtMs) {
                ++ticksAfterEnd;
                return false;
            }
            CheckScheduledStop(clock.Now(), schedule, mail, system, hooks);
            return true;
        });
        clock.Advance(ms);
    }

    VirtualClock clock{kStart};
    ScheduleValues schedule;
    ReportMailSwitches mail;
    FakeSystemCommands system;
    ScheduledStopHooks hooks;
    std::optional<qint64> endOfProcessFromMs;
    std::optional<ReportKind> failingReport;
    std::optional<qint64> stopPressedAtMs;
    std::optional<qint64> endedAtMs;
    QStringList reports;
    int ticksAfterEnd = 0;
};

TEST(ScheduledStop, StopsAtTheMinuteAndActsOnceEndOfProcessShows)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 75000;  // the run ends 15 s into the stop minute
    f.mail.Set(ReportKind::ByAlarm, true);
    f.mail.Set(ReportKind::MinMaxAvg, true);
    f.mail.Set(ReportKind::ByTime, true);
    f.TickFor(5 * 60 * 1000);

    EXPECT_EQ(f.stopPressedAtMs, 60000) << "the seconds of the picker do not count: 10:01:00";
    EXPECT_EQ(f.endedAtMs, 75000);
    EXPECT_EQ(f.reports, (QStringList{"byTime", "MinMaxAvg", "byAlarm"}));
    EXPECT_FALSE(f.schedule.armed);
    EXPECT_TRUE(f.system.commands.isEmpty());
}

TEST(ScheduledStop, AVisitThatOutlastsTheMinuteStillEndsTheStation)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 3 * 60 * 1000 + 500;  // long after 10:01
    f.mail.Set(ReportKind::ByTestPoint, true);
    f.TickFor(10 * 60 * 1000);
    EXPECT_EQ(f.endedAtMs, 3 * 60 * 1000 + 1000);
    EXPECT_EQ(f.reports, QStringList{"byTestPoint"});
}

TEST(ScheduledStop, NothingHappensWhileNoRunHasShownEndOfProcess)
{
    ScheduleFixture f;
    f.mail.Set(ReportKind::ByTime, true);
    f.TickFor(5 * 60 * 1000);
    EXPECT_FALSE(f.endedAtMs);
    EXPECT_TRUE(f.reports.isEmpty());
    EXPECT_TRUE(f.schedule.armed);
}

TEST(ScheduledStop, DisarmedOrBeforeTheMinuteNothingIsPressed)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 0;
    f.schedule.stopAt = StopMinute(QDate(2026, 1, 15), QTime(10, 4, 0));
    f.TickFor(3 * 60 * 1000 + 59000);
    EXPECT_FALSE(f.stopPressedAtMs);
    f.schedule.armed = false;
    f.TickFor(5 * 60 * 1000);
    EXPECT_FALSE(f.stopPressedAtMs);
    EXPECT_FALSE(f.endedAtMs);
}

TEST(ScheduledStop, WithoutBoxesOrPowerOffTheProgramEndsAndNothingIsMailed)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 0;
    f.TickFor(2 * 60 * 1000);
    EXPECT_EQ(f.endedAtMs, 60000);
    EXPECT_TRUE(f.reports.isEmpty());
    EXPECT_TRUE(f.system.commands.isEmpty());
    EXPECT_EQ(f.ticksAfterEnd, 1);
}

struct PowerOffCase {
    const char* name;
    int exitCode;
};

void PrintTo(const PowerOffCase& c, std::ostream* os) { *os << c.name; }

class PowerOff : public testing::TestWithParam<PowerOffCase> {};

TEST_P(PowerOff, RunsTheShutdownCommandThenEndsEvenWhenRefused)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 0;
    f.schedule.powerOff = true;
    f.system.exitCode = GetParam().exitCode;
    f.mail.Set(ReportKind::ByTime, true);
    // The power-off comes after the reports: record the order.
    QStringList order;
    f.hooks.startReport = [&](ReportKind) { order << "report"; };
    f.hooks.endProgram = [&] {
        order << QStringLiteral("commands %1").arg(f.system.commands.size()) << "end";
        f.endedAtMs = f.clock.ElapsedMs();
    };
    f.TickFor(2 * 60 * 1000);
    EXPECT_EQ(f.system.commands, QStringList{"/usr/sbin/shutdown --poweroff +1"});
    EXPECT_EQ(order, (QStringList{"report", "commands 1", "end"}));
}

INSTANTIATE_TEST_SUITE_P(Exits, PowerOff,
                         testing::Values(PowerOffCase{"Granted", 0}, PowerOffCase{"Refused", 1},
                                         PowerOffCase{"NotStarted", -1}),
                         [](const testing::TestParamInfo<PowerOffCase>& info) { return info.param.name; });

TEST(ScheduledStop, AFailedReportDoesNotStopTheOthersNorTheEnd)
{
    ScheduleFixture f;
    f.endOfProcessFromMs = 0;
    f.schedule.powerOff = true;
    for (ReportKind kind : kReportKindsInOrder)
        f.mail.Set(kind, true);
    f.failingReport = ReportKind::MinMaxAvg;
    f.TickFor(2 * 60 * 1000);
    EXPECT_EQ(f.reports, (QStringList{"byTime", "MinMaxAvg", "byTestPoint", "byAlarm"}));
    EXPECT_EQ(f.system.commands.size(), 1);
    EXPECT_TRUE(f.endedAtMs);
}

// The whole chain with a real run on the simulated analyser: Timer1 checks
// the schedule before the ON/OFF countdowns, the run stops at the minute,
// shows "End of Process", and a later tick runs the actions with real mails.
TEST(ScheduledStop, ArmedDuringARunStopsItAndMailsTheCheckedReports)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.mode = RepeatMode::Continuous;
    f.host.mode.timeBetweenTP = 7;

    RecordingMailer mailer;
    f.station.mailer = &mailer;
    f.station.reportMail.Set(ReportKind::ByAlarm, true);
    f.station.reportMail.Set(ReportKind::ByTime, true);
    ScheduleValues schedule;
    schedule.armed = true;
    schedule.stopAt = StopMinute(f.sim.clock.Now().date(), f.sim.clock.Now().time().addSecs(60));

    bool endOfProcessShowing = false;
    std::optional<qint64> endedAtMs;
    qint64 runEndedAtMs = -1;
    ScheduledStopHooks hooks;
    hooks.pressStop = [&] { f.host.SetStopDown(); };
    hooks.endOfProcessShowing = [&] {
        // The host counts the showings; the window stays up until OK.
        if (f.host.endOfProcessShown > 0 && !endOfProcessShowing) {
            endOfProcessShowing = true;
            runEndedAtMs = f.sim.clock.ElapsedMs();
        }
        return endOfProcessShowing;
    };
    // The report commands save and mail a kind whose switch is on.
    hooks.startReport = [&](ReportKind kind) {
        if (f.station.reportMail.IsOn(kind))
            f.station.mailer->SendReportMail(QStringLiteral("R_%1.qrp").arg(KindName(kind)));
    };
    hooks.endProgram = [&] { endedAtMs = f.sim.clock.ElapsedMs(); };
    f.sim.clock.Every(1000, [&] {
        if (endedAtMs)
            return false;
        if (!CheckScheduledStop(f.sim.clock.Now(), schedule, f.station.reportMail, f.system, hooks))
            f.run.Timer1Tick();
        return true;
    });

    f.run.RunMeasureBtnClick();
    ASSERT_FALSE(f.host.stopDownAtMs.empty());
    EXPECT_EQ(f.host.stopDownAtMs.front(), 60000);
    EXPECT_EQ(f.run.Phase(), RunPhase::Stopped);
    f.sim.clock.Advance(5000);

    ASSERT_TRUE(endedAtMs);
    EXPECT_GT(*endedAtMs, 60000);
    EXPECT_GE(*endedAtMs, runEndedAtMs);
    ASSERT_EQ(mailer.reportMails.size(), 2u);
    EXPECT_EQ(mailer.reportMails[0].reportFile, "R_byTime.qrp");
    EXPECT_EQ(mailer.reportMails[1].reportFile, "R_byAlarm.qrp");
    EXPECT_FALSE(schedule.armed);
}

// ---- Periodic reports -----------------------------------------------------------------

struct PeriodicCase {
    const char* name;
    bool reportsEvery;
    PeriodicReportChoice choice;
    QStringList started;
    QStringList timer;
};

void PrintTo(const PeriodicCase& c, std::ostream* os) { *os << c.name; }

class PeriodicReports : public testing::TestWithParam<PeriodicCase> {};

TEST_P(PeriodicReports, TheTickStartsTheCheckedReportsInOrderAndANewPeriod)
{
    OperModeValues mode;
    mode.reportsEvery = GetParam().reportsEvery;
    mode.periodicReports = GetParam().choice;
    QStringList events;
    QStringList started;
    const PeriodicTimer timer{[&] { events << "stop"; }, [&] { events << "restart"; }};
    SendPeriodicReports(mode, timer, [&](ReportKind kind) {
        started << KindName(kind);
        events << "report";
    });
    EXPECT_EQ(started, GetParam().started);
    EXPECT_EQ(events, GetParam().timer);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, PeriodicReports,
    testing::Values(
        PeriodicCase{"AllFourInTheirOrder", true, {true, true, true, true},
                     {"byTime", "MinMaxAvg", "byTestPoint", "byAlarm"},
                     {"stop", "report", "report", "report", "report", "restart"}},
        PeriodicCase{"OnlyTheCheckedBoxes", true, {true, false, false, true}, {"MinMaxAvg", "byAlarm"},
                     {"stop", "report", "report", "restart"}},
        PeriodicCase{"BoxesCheckedButSendingOff", false, {true, true, true, true}, {}, {}},
        PeriodicCase{"SendingOnWithoutBoxes", true, {}, {}, {"stop", "restart"}}),
    [](const testing::TestParamInfo<PeriodicCase>& info) { return info.param.name; });
}  // namespace
