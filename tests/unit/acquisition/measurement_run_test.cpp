// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_fixture.h"

#include "platform/date_formats.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {
using Row = QMap<QString, QString>;

// Calls `action` once, as soon as `condition` holds at a 100 ms step.
void When(VirtualClock& clock, std::function<bool()> condition, std::function<void()> action)
{
    clock.Every(100, [condition, action]() {
        if (!condition())
            return true;
        action();
        return false;
    });
}

TEST(MeasurementRun, OnePassStoresOneCompleteRowPerTestPoint)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    auto second = DvbtPoint("45", "666");
    second["g.interval"] = "1/8";
    f.AddPoint(second);
    f.host.mode.mode = RepeatMode::Loops;
    f.host.mode.loopCount = 1;

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    const Row& r = rows[1];
    EXPECT_EQ(r["index"], "2");
    EXPECT_EQ(r["ch"], "45");
    EXPECT_EQ(r["freq"].toDouble(), 666.0);
    EXPECT_EQ(r["type"], "DVB-T/H");
    EXPECT_EQ(r["band"], "TER");
    EXPECT_EQ(r["guard interval"], "1/8");
    EXPECT_EQ(r["layer"], "A");
    EXPECT_EQ(r["warning"], "NO");
    EXPECT_GT(r["LEVEL"].toDouble(), 0.0);
    EXPECT_FALSE(r["CBER"].isEmpty());
    EXPECT_TRUE(r["LBER"].isEmpty()) << "DVB-T/H measures no LBER";
    EXPECT_TRUE(r["Latitude"].isEmpty()) << "position reception is off";
    EXPECT_FALSE(r["Date"].isEmpty());
    EXPECT_LE(r["Date"].size(), 12);
    EXPECT_LE(r["Hour"].size(), 10);
    EXPECT_EQ(r["Date"], SystemShortDate(f.sim.clock.Now().date()));

    EXPECT_EQ(f.host.panelText, "STOPPED");
    EXPECT_EQ(f.host.panelColour, PanelColour::Red);
    EXPECT_TRUE(f.host.stopDown);
    EXPECT_EQ(f.host.endOfProcessShown, 1);
    EXPECT_EQ(f.host.events.first(), "DisableReports");
    EXPECT_TRUE(f.host.events.contains("ArmReports 3600000 0"));
    EXPECT_EQ(f.host.events.last(), "Release");
    EXPECT_EQ(f.sim.analyser->ReceivedCommands().first(), "*?NA");
    EXPECT_TRUE(f.sim.analyser->ReceivedCommands().contains("*EM2"));
}

TEST(MeasurementRun, StopWhileTheFrequencyIsSetWritesNoRowForThatTestPoint)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    When(f.sim.clock, [&] { return f.sim.analyser->FrequencyKHz() == 666000; }, [&] { f.host.stopDown = true; });

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["ch"], "21");
    EXPECT_EQ(f.host.panelText, "STOPPED");
}

TEST(MeasurementRun, StopDuringTheMeasurementWaitStillWritesThatTestPoint)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.timeForMeasure = 10;
    When(f.sim.clock, [&] { return f.host.panelText.startsWith("WAITING: "); }, [&] { f.host.stopDown = true; });

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["ch"], "21");
    EXPECT_GT(rows[0]["LEVEL"].toDouble(), 0.0);
    EXPECT_EQ(f.host.panelText, "STOPPED");
}

TEST(MeasurementRun, CountdownShowsEverySecondAndEndsRunningGreen)
{
    RunFixture f;
    f.host.stopDown = false;
    f.run.CountdownWait(3);
    QStringList shown;
    for (const PanelEntry& e : f.host.panel)
        if (shown.isEmpty() || shown.last() != e.text)
            shown << e.text;
    EXPECT_EQ(shown, (QStringList{"", "WAITING: 3", "WAITING: 2", "WAITING: 1", "RUNNING"}));
    EXPECT_EQ(f.host.panelColour, PanelColour::Green);
    EXPECT_EQ(f.sim.clock.ElapsedMs(), 3000);
}

TEST(MeasurementRun, ThreeLoopsCountTheEditDown)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.mode = RepeatMode::Loops;
    f.host.mode.loopCount = 3;
    std::vector<int> loopsAtRow;
    f.host.onRow = [&](const Dataset&) { loopsAtRow.push_back(f.host.mode.loopCount); };

    f.run.RunMeasureBtnClick();

    EXPECT_EQ(f.Rows().size(), 6u);
    EXPECT_EQ(loopsAtRow, (std::vector<int>{3, 3, 2, 2, 1, 1}));
    EXPECT_EQ(f.host.mode.loopCount, 1);
    EXPECT_EQ(f.host.panelText, "STOPPED");
}

TEST(MeasurementRun, SingleTestPointIsTunedOnceAndWaitsAfterEveryVisit)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.mode = RepeatMode::SingleTestPoint;
    f.host.mode.timeBetweenTable = 2;
    f.host.mode.timeBetweenTP = 3;
    int rows = 0;
    f.host.onRow = [&](const Dataset&) {
        if (++rows == 3)
            f.host.stopDown = true;
    };
    f.run.RunMeasureBtnClick();

    const auto stored = f.Rows();
    ASSERT_EQ(stored.size(), 3u);
    for (const Row& r : stored)
        EXPECT_EQ(r["ch"], "21");
    EXPECT_EQ(f.CommandsStartingWith("*FR"), 1) << "tuned on the first visit only";
    // The first figure of every countdown: between-loops (2) then between-points
    // (3) after each visit; after the third, Stop cuts the first short and skips the second.
    QStringList countdowns;
    QString previous;
    for (const PanelEntry& e : f.host.panel) {
        if (e.text.startsWith("WAITING: ") && !previous.startsWith("WAITING: "))
            countdowns << e.text.mid(9);
        previous = e.text;
    }
    EXPECT_EQ(countdowns, (QStringList{"2", "3", "2", "3", "2"}));
}

TEST(MeasurementRun, AutomaticAlarmPassDerivesThresholdsAndStopsAfterOnePass)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.autoAlarm = true;
    f.host.autoAlarm.level = true;
    f.host.autoAlarm.mer = true;
    f.host.autoAlarm.merTol = QStringLiteral("3");

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(f.host.mode.autoAlarm);
    EXPECT_EQ(f.host.panelText, "STOPPED");
    EXPECT_TRUE(f.station.testPointSetModified) << "the new thresholds must not be lost unasked";
    Dataset points(QStringLiteral("RunTest"), QStringLiteral("points"));
    points.Open();
    for (size_t i = 0; i < rows.size(); ++i, points.Next()) {
        const double level = rows[i]["LEVEL"].toDouble();
        const double mer = rows[i]["MER"].toDouble();
        EXPECT_NEAR(points.Number("minLV"), level - 2, 1e-9);
        EXPECT_NEAR(points.Number("maxLV"), level + 2, 1e-9);
        EXPECT_NEAR(points.Number("minMER"), mer - 3, 1e-9);
        EXPECT_NEAR(points.Number("maxMER"), mer + 3, 1e-9);
        EXPECT_TRUE(points.Text("minC/N").isEmpty()) << "C/N box unticked: untouched";
    }
}

TEST(MeasurementRun, AutomaticPassClearedDuringTheSettlingWaitDerivesNothingMore)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.host.mode.mode = RepeatMode::Loops;
    f.host.mode.timeForMeasure = 1;
    f.host.mode.autoAlarm = true;
    f.host.autoAlarm.level = true;
    // The measurement wait has ended and the settling wait begun: the user
    // clears "Autoconfiguration alarm" before the first value is read.
    bool waited = false;
    When(f.sim.clock,
         [&] {
             waited = waited || f.host.panelText.startsWith("WAITING: ");
             return waited && f.host.panelText == "RUNNING";
         },
         [&] { f.host.mode.autoAlarm = false; });

    f.run.RunMeasureBtnClick();

    ASSERT_EQ(f.Rows().size(), 1u);
    EXPECT_GT(f.Rows()[0]["LEVEL"].toDouble(), 0.0);
    Dataset points(QStringLiteral("RunTest"), QStringLiteral("points"));
    points.Open();
    EXPECT_TRUE(points.Text("minLV").isEmpty());
    EXPECT_TRUE(points.Text("maxLV").isEmpty());
    EXPECT_FALSE(f.station.testPointSetModified);
}

TEST(MeasurementRun, EmptyTableIsReportedWithoutTouchingTheAnalyser)
{
    RunFixture f;
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.dialogs.messages, QStringList{"Test Point Table empty"});
    EXPECT_TRUE(f.sim.analyser->ReceivedCommands().isEmpty());
    EXPECT_EQ(f.host.panelText, "STOPPED");
    EXPECT_EQ(f.host.endOfProcessShown, 1);
    EXPECT_TRUE(f.Rows().empty());
}

TEST(MeasurementRun, SpanishMessagesFollowTheLanguage)
{
    RunFixture f;
    f.settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.dialogs.messages, QStringList{QString::fromUtf8("Tabla de Puntos de Test vacía")});
    EXPECT_EQ(f.host.panelText, "DETENIDO");
}

TEST(MeasurementRun, MissingTablesAreReportedAfterIdentification)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.host.measurementsSelected = false;
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.dialogs.messages, QStringList{"ERROR: has not been created a new table of Measurements"});
    EXPECT_EQ(f.host.identifications, 1);

    f.dialogs.messages.clear();
    f.host.measurementsSelected = true;
    f.host.testPointsSelected = false;
    f.run.RunMeasureBtnClick();
    EXPECT_EQ(f.dialogs.messages, QStringList{"ERROR: has not been selected or created a table of acquisitions"});
    EXPECT_TRUE(f.Rows().empty());
}

TEST(MeasurementRun, SilentAnalyserRefusesTheStart)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.sim.analyser->faults.silent = true;
    f.host.panelText = "RUNNING-BEFORE";

    f.run.RunMeasureBtnClick();

    EXPECT_EQ(f.dialogs.messages, QStringList{"has not detected ORBIMETER"});
    EXPECT_EQ(f.host.endOfProcessShown, 1);
    EXPECT_TRUE(f.host.runEnabled);
    EXPECT_TRUE(f.host.stopDown);
    EXPECT_TRUE(f.host.events.contains("OfferPortSearch"));
    EXPECT_FALSE(f.host.events.contains("Release")) << "the start locks stay until a later run ends";
    EXPECT_EQ(f.host.panelText, "RUNNING-BEFORE") << "the status panel is left as it was";
    EXPECT_TRUE(f.Rows().empty());
}

TEST(MeasurementRun, TableWithoutLayerFieldLeavesLayerEmpty)
{
    std::vector<FieldDef> layout;
    for (const FieldDef& field : TestPointFields())
        if (field.name != QLatin1String("layer"))
            layout.push_back(field);
    RunFixture f(layout);
    f.AddPoint(DvbtPoint("21", "474"));
    f.host.mode.mode = RepeatMode::Loops;

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0]["layer"].isEmpty());
    EXPECT_EQ(rows[0]["ch"], "21");
}

TEST(MeasurementRun, PositionFromTheReceiverOrDashesAfterTwentyTries)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    f.host.mode.mode = RepeatMode::Loops;
    f.host.gpsOn = true;
    f.host.onRow = [&](const Dataset&) {
        // The receiver gets a fix between the two visits; it states its
        // longitude with one character more than the field holds.
        f.host.gpsFix = GpsFix{"5130.12345", "N", "00007.54321", "W"};
    };

    f.run.RunMeasureBtnClick();

    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(f.host.gpsReads, 20 + 1);
    EXPECT_EQ((QStringList{rows[0]["Latitude"], rows[0]["N/S"], rows[0]["Longitude"], rows[0]["E/W"]}),
              (QStringList{"--", "--", "--", "--"}));
    EXPECT_EQ((QStringList{rows[1]["Latitude"], rows[1]["N/S"], rows[1]["Longitude"], rows[1]["E/W"]}),
              (QStringList{"5130.12345", "N", "00007.5432", "W"}));
}

TEST(MeasurementRun, ContinuousRunRepeatsPassesUntilStop)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.AddPoint(DvbtPoint("45", "666"));
    int rows = 0;
    f.host.onRow = [&](const Dataset&) {
        if (++rows == 5)
            f.host.stopDown = true;
    };
    f.run.RunMeasureBtnClick();
    const auto stored = f.Rows();
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[4]["ch"], "21");
    EXPECT_TRUE(f.host.events.contains("DisableOperatingMode"));
}

// The same run with its Stop lost, as a regression would lose it: the
// fixture's ceiling ends it as a failure instead of letting the test spin.
TEST(MeasurementRun, ARunThatNeverStopsFailsAtTheVirtualTimeCeiling)
{
    RunFixture f;
    f.AddPoint(DvbtPoint("21", "474"));
    f.ceiling.MoveTo(60 * 1000);
    EXPECT_NONFATAL_FAILURE(f.run.RunMeasureBtnClick(), "did not end within 60 s of virtual time");
    EXPECT_TRUE(f.ceiling.Passed());
    EXPECT_EQ(f.run.Phase(), RunPhase::Stopped) << "the run ended on the ceiling's error";
    EXPECT_GT(f.Rows().size(), 5u) << "it ran until the ceiling";
}
}  // namespace
