// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_fixture.h"

#include <gtest/gtest.h>

namespace {
// An ON/OFF cycle of 5 s ON and 10 s OFF over one test point, Timer1 ticking
// every second of virtual time from the start.
struct CycleFixture : RunFixture {
    CycleFixture()
    {
        AddPoint(DvbtPoint("21", "474"));
        host.mode.mode = RepeatMode::OnOffCycle;
        host.mode.onTime = QTime(0, 0, 5);
        host.mode.offTime = QTime(0, 0, 10);
        sim.clock.Every(1000, [this] {
            ++ticks;
            run.Timer1Tick();
            return true;
        });
    }

    // Lets the program idle until `done` or `limitMs` of virtual time pass.
    void IdleUntil(const std::function<bool()>& done, qint64 limitMs = 120000)
    {
        const qint64 end = sim.clock.ElapsedMs() + limitMs;
        while (!done() && sim.clock.ElapsedMs() < end)
            sim.clock.Advance(100);
    }

    qint64 LastPanelTime(const QString& text) const
    {
        for (auto it = host.panel.rbegin(); it != host.panel.rend(); ++it)
            if (it->text == text)
                return it->atMs;
        return -1;
    }

    int ticks = 0;
};

TEST(OnOffRun, FiveSecondsOnLastThreeTicksAndTenOffLastEight)
{
    CycleFixture f;
    f.run.RunMeasureBtnClick();

    // ON: the third tick asks for Stop (here while the first frequency is
    // being set, so that visit is abandoned).
    ASSERT_FALSE(f.host.stopDownAtMs.empty());
    EXPECT_EQ(f.host.stopDownAtMs[0], 3000);
    EXPECT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
    EXPECT_EQ(f.host.panelText, "WAITING TO RUN");
    EXPECT_EQ(f.host.panelColour, PanelColour::Yellow);
    EXPECT_EQ(f.host.mode.onTime, QTime(0, 0, 5)) << "restored from GuardaContaStop";
    EXPECT_EQ(f.run.GuardaContaStop(), "00:00:05");
    EXPECT_EQ(f.run.GuardaContaStart(), "00:00:10");
    EXPECT_FALSE(f.host.runButtonsVisible);
    EXPECT_FALSE(f.host.events.contains("Release")) << "controls stay locked for the OFF phase";

    // OFF: the eighth tick after the run ended presses Run again.
    const qint64 offFrom = f.LastPanelTime("WAITING TO RUN");
    f.IdleUntil([&] { return f.host.identifications == 2; });
    ASSERT_EQ(f.host.identifications, 2);
    // Timer1 ticks on whole seconds: count those between the two moments.
    EXPECT_EQ(f.host.identifiedAtMs[1] / 1000 - offFrom / 1000, 8);
    EXPECT_GT(f.host.identifiedAtMs[1] - offFrom, 7000);
    EXPECT_LE(f.host.identifiedAtMs[1] - offFrom, 8000 + 200);
    EXPECT_EQ(f.host.mode.offTime, QTime(0, 0, 10));

    // The second run ran its own ON phase and came back to the OFF phase.
    EXPECT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
    EXPECT_EQ(f.host.stopDownAtMs.size(), 2u);
}

TEST(OnOffRun, TheVisitInProgressCompletesAfterTheOnPhaseEnds)
{
    CycleFixture f;
    f.host.mode.onTime = QTime(0, 0, 10);
    f.run.RunMeasureBtnClick();
    ASSERT_FALSE(f.host.stopDownAtMs.empty());
    EXPECT_EQ(f.host.stopDownAtMs[0], 8000);
    EXPECT_EQ(f.Rows().size(), 1u) << "Stop came during the tuner: the visit still writes its row";
    EXPECT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
}

TEST(OnOffRun, StopInTheOffPhaseEndsTheCycle)
{
    CycleFixture f;
    f.run.RunMeasureBtnClick();
    ASSERT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
    f.IdleUntil([] { return false; }, 3000);
    f.run.BtnStopClick();

    EXPECT_EQ(f.run.Phase(), RunPhase::Stopped);
    EXPECT_EQ(f.host.panelText, "STOPPED");
    EXPECT_TRUE(f.host.runButtonsVisible);
    EXPECT_EQ(f.host.mode.mode, RepeatMode::Continuous);
    EXPECT_EQ(f.host.mode.offTime, QTime(0, 0, 10)) << "the countdown is set back";
    EXPECT_EQ(f.host.events.last(), "Release");

    f.IdleUntil([] { return false; }, 60000);
    EXPECT_EQ(f.host.identifications, 1) << "no further run starts";
}

TEST(OnOffRun, StopInTheOnPhaseEndsAfterTheVisit)
{
    CycleFixture f;
    f.host.mode.onTime = QTime(1, 0, 0);
    f.sim.clock.At(6000, [&] { f.run.BtnStopClick(); });
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.Rows().size(), 1u);
    EXPECT_EQ(f.run.Phase(), RunPhase::Stopped);
    f.IdleUntil([] { return false; }, 30000);
    EXPECT_EQ(f.host.identifications, 1);
}

TEST(OnOffRun, RefusedStartInTheOffPhaseIsRetriedWithoutNesting)
{
    CycleFixture f;
    f.run.RunMeasureBtnClick();
    ASSERT_EQ(f.run.Phase(), RunPhase::WaitingToRun);

    // The analyser goes away; the refusal's message box stays open 20 s while
    // Timer1 keeps ticking.
    f.sim.analyser->faults.silent = true;
    f.modal.openMs = 20000;
    f.IdleUntil([&] { return f.host.identifications == 2; });
    ASSERT_EQ(f.host.identifications, 2);
    EXPECT_EQ(f.dialogs.messages, QStringList{"has not detected ORBIMETER"});
    EXPECT_EQ(f.host.panelText, "WAITING TO RUN") << "a refused start leaves the OFF phase on";

    // Once the box is closed, the OFF countdown runs again from where it was
    // and tries again after the next OFF duration.
    f.sim.analyser->faults.silent = false;
    f.modal.openMs = 0;
    const qint64 refusedAt = f.host.identifiedAtMs[1];
    f.IdleUntil([&] { return f.host.identifications == 3; });
    ASSERT_EQ(f.host.identifications, 3);
    EXPECT_GE(f.host.identifiedAtMs[2] - refusedAt, 20000 + 7000);
}

TEST(OnOffRun, ZeroOnTimeRunsForAboutADay)
{
    CycleFixture f;
    f.host.mode.onTime = QTime(0, 0, 0);
    f.host.mode.timeBetweenTP = 43200;  // few visits: the day passes in the waits
    f.ceiling.MoveTo(2LL * 86400 * 1000);
    f.sim.clock.At(3LL * 3600 * 1000, [&] { EXPECT_FALSE(f.host.stopDown) << "still in the ON phase after 3 h"; });
    f.run.RunMeasureBtnClick();
    ASSERT_FALSE(f.host.stopDownAtMs.empty());
    EXPECT_EQ(f.host.stopDownAtMs[0], (86400LL - 2) * 1000);
}
}  // namespace

namespace {
// A port search in the OFF phase (offered after a refused start) holds the
// countdown: the cycle's next start must not run inside the search's waits,
// where it would be a second user of the analyser link.
TEST(OnOffRun, APortSearchHoldsTheOffCountdownAndNoStartRunsInsideIt)
{
    CycleFixture f;
    f.run.RunMeasureBtnClick();
    ASSERT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
    Availability& availability = f.station.availability;

    f.IdleUntil([] { return false; }, 2000);
    availability.PortSearchBegun();
    // The search waits 40 s of virtual time, four OFF periods.
    f.IdleUntil([] { return false; }, 40000);
    EXPECT_EQ(f.host.identifications, 1) << "no start inside the search";
    const qint64 searchEnd = f.sim.clock.ElapsedMs();
    availability.PortSearchEnded(true, true);

    f.IdleUntil([&] { return f.host.identifications == 2; });
    ASSERT_EQ(f.host.identifications, 2);
    // The countdown goes on from where the search held it.
    EXPECT_GT(f.host.identifiedAtMs[1], searchEnd);
    EXPECT_LE(f.host.identifiedAtMs[1] - searchEnd, 8000 + 200);
}

// A cycle press already queued when the search starts waits for its end.
TEST(OnOffRun, ACyclePressQueuedBeforeASearchWaitsForItsEnd)
{
    CycleFixture f;
    f.run.RunMeasureBtnClick();
    ASSERT_EQ(f.run.Phase(), RunPhase::WaitingToRun);
    Availability& availability = f.station.availability;
    // The search starts between the tick that queues the press and the press.
    f.host.onQueueRunPress = [&] {
        availability.PortSearchBegun();
        f.host.onQueueRunPress = nullptr;
    };
    f.IdleUntil([] { return false; }, 30000);
    EXPECT_EQ(f.host.identifications, 1) << "no start inside the search";
    availability.PortSearchEnded(true, true);
    f.IdleUntil([&] { return f.host.identifications == 2; }, 3000);
    EXPECT_EQ(f.host.identifications, 2) << "the held press runs at the first tick after the search";
}
}  // namespace
