// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/on_off_cycle.h"

#include <gtest/gtest.h>

namespace {
// Ticks until the countdown reports the end; the number of ticks it took.
int TicksToEnd(QTime start)
{
    QTime time = start;
    for (int tick = 1; tick <= 90000; ++tick) {
        if (TickCountdown(time))
            return tick;
    }
    return -1;
}

TEST(OnOffCountdown, PhaseOfTSecondsLastsTMinusTwoTicks)
{
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 5)), 3);
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 10)), 8);
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 3)), 1);
    EXPECT_EQ(TicksToEnd(QTime(0, 1, 0)), 58);
}

TEST(OnOffCountdown, OneOrTwoSecondsEndAtTheFirstTick)
{
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 1)), 1);
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 2)), 1);
}

TEST(OnOffCountdown, ZeroWrapsToTheDayBefore)
{
    QTime time(0, 0, 0);
    EXPECT_FALSE(TickCountdown(time));
    EXPECT_EQ(time, QTime(23, 59, 59));
    EXPECT_EQ(TicksToEnd(QTime(0, 0, 0)), 86400 - 2);
}

// A host that records what the cycle asks for.
class FakeCycleHost final : public OnOffCycleHost {
public:
    bool CycleTicked() const override { return ticked; }
    bool InOnPhase() const override { return on; }
    bool InOffPhase() const override { return off; }
    QTime OnTime() const override { return onTime; }
    void SetOnTime(const QTime& t) override { onTime = t; }
    QTime OffTime() const override { return offTime; }
    void SetOffTime(const QTime& t) override { offTime = t; }
    QString SavedOnText() const override { return QStringLiteral("00:00:05"); }
    QString SavedOffText() const override { return QStringLiteral("00:00:10"); }
    void RequestStop() override { ++stops; }
    void StartNextRun() override { ++starts; }

    bool ticked = true, on = false, off = false;
    QTime onTime{0, 0, 5}, offTime{0, 0, 10};
    int stops = 0, starts = 0;
};

TEST(OnOffCycle, OnCountdownEndRequestsStopAndRestoresTheDuration)
{
    FakeCycleHost host;
    host.on = true;
    OnOffCycle cycle(host);
    cycle.Tick();
    cycle.Tick();
    EXPECT_EQ(host.stops, 0);
    EXPECT_EQ(host.onTime, QTime(0, 0, 3));
    cycle.Tick();
    EXPECT_EQ(host.stops, 1);
    EXPECT_EQ(host.onTime, QTime(0, 0, 5));
    EXPECT_EQ(host.starts, 0);
    EXPECT_EQ(host.offTime, QTime(0, 0, 10)) << "the OFF countdown must not move in the ON phase";
}

TEST(OnOffCycle, OffCountdownEndStartsTheNextRun)
{
    FakeCycleHost host;
    host.off = true;
    OnOffCycle cycle(host);
    for (int i = 0; i < 7; ++i)
        cycle.Tick();
    EXPECT_EQ(host.starts, 0);
    cycle.Tick();
    EXPECT_EQ(host.starts, 1);
    EXPECT_EQ(host.offTime, QTime(0, 0, 10));
}

TEST(OnOffCycle, NothingCountsWhenTheCycleIsNotTicked)
{
    FakeCycleHost host;
    host.ticked = false;
    host.on = true;
    host.off = true;
    OnOffCycle cycle(host);
    for (int i = 0; i < 20; ++i)
        cycle.Tick();
    EXPECT_EQ(host.stops + host.starts, 0);
    EXPECT_EQ(host.onTime, QTime(0, 0, 5));
}
}  // namespace
