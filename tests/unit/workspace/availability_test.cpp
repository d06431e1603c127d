// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/availability.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
using Steps = std::function<void(Availability&)>;

struct Case {
    const char* name;
    Steps steps;
    std::vector<Command> enabled;
    std::vector<Command> disabled;
};

void CreateBothTables(Availability& a)
{
    a.MeasurementsCreated();
    a.TestPointSetCreated();
}

void FindAnalyser(Availability& a)
{
    a.PortSearchBegun();
    a.PortSearchEnded(true, true);
}

void RunToTheEnd(Availability& a)
{
    a.RunEventOccurred(RunEvent::StartBegun, true);
    a.RunEventOccurred(RunEvent::StartLocked, true);
    a.RunEventOccurred(RunEvent::Running, true);
    a.RunEventOccurred(RunEvent::Stopped, true);
}

// The working order of the toolbar: each step offers the next one.
const Case kCases[] = {
    {"AtStartOnlyTheMeasurementsTableIsOffered",
     [](Availability&) {},
     {Command::NewMeasurements, Command::OpenMeasurements, Command::EditTestPointTable, Command::GpsWindow},
     {Command::NewTestPointSet, Command::OpenTestPointSet, Command::SaveTestPointSet, Command::SearchCom,
      Command::Run, Command::Stop, Command::ReportMinMaxAvg, Command::ReportByTime, Command::ReportByTestPoint,
      Command::ReportByAlarm, Command::ExportCsv, Command::TestPointEditor, Command::TestPointGrid,
      Command::CycleStop, Command::AlarmSwitch, Command::AlarmThresholds}},
    {"AnOpenedMeasurementsTableOffersTheSetAndTheReportByTime",
     [](Availability& a) { a.MeasurementsOpened(); },
     {Command::NewTestPointSet, Command::OpenTestPointSet, Command::ExportCsv, Command::ReportByTime},
     {Command::ReportMinMaxAvg, Command::ReportByTestPoint, Command::ReportByAlarm, Command::SearchCom}},
    {"ANewSetOffersTheSearchButNotItsEmptyGrid",
     CreateBothTables,
     {Command::SearchCom, Command::SaveTestPointSet, Command::EditTestPointTable, Command::AlarmSwitch},
     {Command::TestPointGrid, Command::EditorEdit, Command::EditorInsert, Command::Run}},
    {"AnOpenedSetOffersItsGridAndTheEditor",
     [](Availability& a) {
         a.MeasurementsOpened();
         a.OpenTestPointSetChosen();
         a.TestPointSetOpened();
     },
     {Command::TestPointGrid, Command::EditorEdit, Command::TestPointEditor, Command::SearchCom},
     {}},
    {"ARowInANewSetOffersTheGrid",
     [](Availability& a) {
         CreateBothTables(a);
         a.TestPointRowInserted();
     },
     {Command::TestPointGrid},
     {}},
    {"TheFoundAnalyserOffersTheRunAndTheExploration",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
     },
     {Command::Run, Command::SearchCom, Command::ExplorationBand},
     {Command::Stop}},
    {"AFoundAnalyserWithoutASetOffersNothing",
     [](Availability& a) {
         a.PortSearchBegun();
         a.PortSearchEnded(true, false);
     },
     {},
     {Command::Run, Command::SearchCom}},
    {"NoAnalyserTakesTheRunAndTheExplorationAway",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
         a.PortSearchBegun();
         a.PortSearchEnded(false, true);
     },
     {Command::SearchCom},
     {Command::Run, Command::ExplorationBand, Command::ExplorationTransfer}},
    {"ASearchHoldsTheLinkAgainstARunAndASecondSearch",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
         a.PortSearchBegun();
     },
     {Command::OpenMeasurements},
     {Command::Run, Command::SearchCom}},
    {"ARunTakesAwayWhatCouldReplaceATableOrUseTheLink",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
         a.RunEventOccurred(RunEvent::StartBegun, true);
         a.RunEventOccurred(RunEvent::StartLocked, true);
         a.RunEventOccurred(RunEvent::Running, true);
     },
     {Command::Stop},
     {Command::Run, Command::NewMeasurements, Command::OpenMeasurements, Command::NewTestPointSet,
      Command::OpenTestPointSet, Command::SaveTestPointSet, Command::SearchCom, Command::FileMenu,
      Command::LanguageMenu, Command::TestPointGridWindow, Command::MeasurementsGridWindow, Command::ReportByTime,
      Command::RepeatChoice, Command::LoopChoice, Command::OperatingModeWindow, Command::EditorFields,
      Command::AlarmThresholds, Command::ScheduleControls, Command::MailMenu, Command::MailSettings,
      Command::TestMail}},
    {"TheEndOfARunOffersEveryReportAndTheSettingsAgain",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
         RunToTheEnd(a);
     },
     {Command::Run, Command::ReportMinMaxAvg, Command::ReportByTime, Command::ReportByTestPoint,
      Command::ReportByAlarm, Command::SearchCom, Command::RepeatChoice, Command::LoopChoice,
      Command::OperatingModeWindow, Command::TestPointGridWindow, Command::EditorFields, Command::MailMenu,
      Command::MailSettings, Command::TestMail},
     {Command::Stop, Command::EditorInsert, Command::AlarmThresholds, Command::ExplorationTransfer}},
    {"TheEndOfARunWithoutAMeasurementsTableOffersNoReport",
     [](Availability& a) {
         a.RunEventOccurred(RunEvent::Running, false);
         a.RunEventOccurred(RunEvent::Stopped, false);
     },
     {Command::Run},
     {Command::ReportMinMaxAvg, Command::ReportByTime, Command::ReportByTestPoint, Command::ReportByAlarm}},
    {"ARefusedStartOffersTheSearchButKeepsTheStartLocks",
     [](Availability& a) {
         CreateBothTables(a);
         FindAnalyser(a);
         a.RunEventOccurred(RunEvent::StartBegun, true);
         a.RunEventOccurred(RunEvent::StartLocked, true);
         a.RunEventOccurred(RunEvent::StartRefused, true);
     },
     {Command::SearchCom, Command::Run},
     {Command::Stop, Command::RepeatChoice, Command::LoopChoice, Command::OperatingModeWindow,
      Command::ExplorationBand, Command::ExplorationTransfer}},
    {"TheOffPhaseKeepsTheRunLocks",
     [](Availability& a) {
         CreateBothTables(a);
         a.RunEventOccurred(RunEvent::CycleStartBegun, true);
         a.RunEventOccurred(RunEvent::StartLocked, true);
         a.RunEventOccurred(RunEvent::Running, true);
         a.RunEventOccurred(RunEvent::WaitingToRun, true);
     },
     {Command::CycleStop, Command::OperatingModeWindow},
     {Command::SearchCom, Command::NewMeasurements, Command::FileMenu}},
    {"LeavingTheCycleTakesItsStopAway",
     [](Availability& a) {
         a.RunEventOccurred(RunEvent::CycleStartBegun, true);
         a.CycleUnticked();
     },
     {},
     {Command::CycleStop}},
    {"TheTableEditorNeedsAnOpenSet",
     [](Availability& a) { a.MainWindowActivated(false); },
     {},
     {Command::EditTestPointTable}},
};

class AvailabilityCase : public testing::TestWithParam<Case> {};

TEST_P(AvailabilityCase, CommandsFollowTheState)
{
    Availability availability;
    GetParam().steps(availability);
    for (Command c : GetParam().enabled)
        EXPECT_TRUE(availability.IsEnabled(c)) << "command " << static_cast<int>(c) << " should be available";
    for (Command c : GetParam().disabled)
        EXPECT_FALSE(availability.IsEnabled(c)) << "command " << static_cast<int>(c) << " should not be available";
}

INSTANTIATE_TEST_SUITE_P(States, AvailabilityCase, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(Availability, ARunHidesLeavingAndLanguageAndTheCycleHidesRunAndStop)
{
    Availability a;
    const Command hiddenInRun[] = {Command::LoadReport, Command::Exit, Command::EnglishLanguage,
                                   Command::SpanishLanguage, Command::About};
    a.RunEventOccurred(RunEvent::CycleStartBegun, true);
    EXPECT_FALSE(a.IsVisible(Command::Run));
    EXPECT_FALSE(a.IsVisible(Command::Stop));
    a.RunEventOccurred(RunEvent::Running, true);
    for (Command c : hiddenInRun)
        EXPECT_FALSE(a.IsVisible(c));
    a.RunEventOccurred(RunEvent::WaitingToRun, true);
    a.RunEventOccurred(RunEvent::Stopped, true);
    for (Command c : hiddenInRun)
        EXPECT_TRUE(a.IsVisible(c));
    EXPECT_FALSE(a.IsVisible(Command::Run)) << "only the end of the cycle brings Run back";
    a.RunEventOccurred(RunEvent::CycleEnded, true);
    EXPECT_TRUE(a.IsVisible(Command::Run));
    EXPECT_TRUE(a.IsVisible(Command::Stop));
}

TEST(Availability, EveryChangeIsAnnounced)
{
    Availability a;
    int changes = 0;
    QObject::connect(&a, &Availability::changed, [&] { ++changes; });
    a.MeasurementsOpened();
    a.PortSearchBegun();
    a.PortSearchEnded(false, false);
    a.RunEventOccurred(RunEvent::Running, true);
    EXPECT_GE(changes, 4);
    const int before = changes;
    a.Grant(Command::Exit);  // already granted: nothing changes
    EXPECT_EQ(changes, before);
}
}  // namespace
