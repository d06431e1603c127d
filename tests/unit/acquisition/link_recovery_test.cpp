// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser's cable pulled out and plugged back in during a continuous
// run: the run goes on, stores the visits it cannot measure as 0 at its own
// pace, says so on the status panel, and measures again once the analyser
// answers under the same COM name.
#include "run_fixture.h"

#include <gtest/gtest.h>

namespace {
using Row = QMap<QString, QString>;

struct StoredVisit {
    qint64 atMs;
    double level;
};

struct RecoveryCase {
    const char* name;
    qint64 plugBackAfterMs;  // after the pull; -1: never
};

class LinkRecovery : public testing::TestWithParam<RecoveryCase> {};

TEST_P(LinkRecovery, TheRunGoesOnAndMeasuresAgainOnceTheAnalyserIsBack)
{
    const RecoveryCase c = GetParam();
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.mode = RepeatMode::Continuous;

    std::vector<StoredVisit> visits;
    qint64 pulledAt = -1;
    qint64 backAt = -1;
    f.host.onRow = [&](const Dataset& row) {
        visits.push_back({f.sim.clock.ElapsedMs(), row.Text("LEVEL").toDouble()});
        if (visits.size() == 2) {
            // Clock events are due a delay from now.
            pulledAt = f.sim.clock.ElapsedMs() + 500;
            f.sim.clock.At(500, [&] { f.sim.analyser->unplugged = true; });
            if (c.plugBackAfterMs >= 0) {
                backAt = pulledAt + c.plugBackAfterMs;
                f.sim.clock.At(500 + c.plugBackAfterMs, [&] { f.sim.analyser->unplugged = false; });
            }
        }
        if (visits.size() == 12)
            f.host.stopDown = true;
    };

    f.run.RunMeasureBtnClick();

    ASSERT_EQ(visits.size(), 12u);
    ASSERT_EQ(f.Rows().size(), 12u);
    EXPECT_GT(visits[0].level, 0.0);
    EXPECT_GT(visits[1].level, 0.0);
    // Every stored value is a reading or 0; while the cable is out, 0.
    int lostVisits = 0;
    for (size_t i = 2; i < visits.size(); ++i) {
        const bool measuredWhileOut = visits[i].atMs > pulledAt && (backAt < 0 || visits[i].atMs < backAt);
        if (measuredWhileOut) {
            EXPECT_EQ(visits[i].level, 0.0) << "visit " << i;
            ++lostVisits;
            // No storm of rows: a lost visit costs the tuning's own waits.
            EXPECT_GE(visits[i].atMs - visits[i - 1].atMs, 1000) << "visit " << i;
        }
    }
    EXPECT_GE(lostVisits, 2);

    const auto lostShown = std::find_if(f.host.panel.begin(), f.host.panel.end(),
                                        [](const PanelEntry& e) { return e.text == "ANALYSER LOST"; });
    ASSERT_NE(lostShown, f.host.panel.end());
    EXPECT_EQ(lostShown->colour, PanelColour::Red);
    EXPECT_GT(lostShown->atMs, pulledAt);

    if (c.plugBackAfterMs >= 0) {
        EXPECT_GT(visits.back().level, 0.0) << "measured again after the plug-in";
        EXPECT_GT(f.host.identifications, 1) << "identified again after the plug-in";
        const auto runningAgain = std::find_if(lostShown, f.host.panel.end(), [](const PanelEntry& e) {
            return e.text == "RUNNING" && e.colour == PanelColour::Green;
        });
        EXPECT_NE(runningAgain, f.host.panel.end());
        EXPECT_FALSE(f.run.AnalyserLost());
    } else {
        EXPECT_EQ(visits.back().level, 0.0);
        EXPECT_TRUE(f.run.AnalyserLost());
    }
    EXPECT_EQ(f.host.panelText, "STOPPED");
}

INSTANTIATE_TEST_SUITE_P(Cable, LinkRecovery,
                         testing::Values(RecoveryCase{"PluggedBackIn", 45000}, RecoveryCase{"NeverBack", -1}),
                         [](const testing::TestParamInfo<RecoveryCase>& info) { return info.param.name; });

// A run that ended while its analyser was lost left the port closed. Here the
// adaptor came back before the run ended but the analyser behind it stayed
// silent, so the port no longer reads as a gone device: the next start must
// still open the same COM name again instead of refusing to start.
TEST(LinkRecovery, TheNextRunOpensThePortOfALostAnalyserAgain)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.host.mode.mode = RepeatMode::Loops;
    f.host.mode.loopCount = 3;
    int stored = 0;
    f.host.onRow = [&](const Dataset&) {
        if (++stored == 1) {
            f.sim.analyser->unplugged = true;  // the second visit finds the device gone
        } else {
            f.sim.analyser->unplugged = false;  // the third reopens it, but nothing answers
            f.sim.analyser->faults.silent = true;
        }
    };
    f.run.RunMeasureBtnClick();
    ASSERT_TRUE(f.run.AnalyserLost());
    ASSERT_FALSE(f.sim.link.Port().IsOpen());
    ASSERT_FALSE(f.sim.link.Port().DeviceGone()) << "the case where only the lost state remembers the port";

    f.sim.analyser->faults.silent = false;
    f.host.onRow = nullptr;
    f.host.mode.loopCount = 1;
    f.run.RunMeasureBtnClick();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join('\n').toStdString();
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_GT(rows.back()["LEVEL"].toDouble(), 0.0);
    EXPECT_FALSE(f.run.AnalyserLost());
}

TEST(LinkRecovery, SpanishPanelSaysTheAnalyserIsLost)
{
    RunFixture f;
    f.settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    f.AddPoint(DvbtPoint("21", "474"));
    f.host.mode.mode = RepeatMode::Loops;
    f.host.mode.loopCount = 3;
    f.host.onRow = [&](const Dataset&) { f.sim.analyser->unplugged = true; };
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.Rows().size(), 3u);
    EXPECT_TRUE(std::any_of(f.host.panel.begin(), f.host.panel.end(),
                            [](const PanelEntry& e) { return e.text == QStringLiteral("ANALIZADOR PERDIDO"); }));
}
}  // namespace
