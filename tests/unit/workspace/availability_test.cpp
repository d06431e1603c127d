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

// The run's lock table, row by row: what a run (outside an ON/OFF cycle)
// does to each command while it lasts and at its end. Every command is
// offered before the run, so "unchanged" shows as still taken away.
enum class InRun { Disabled, Enabled, Hidden };
enum class AtEnd { Enabled, Disabled, Unchanged, IfMeasurements, Shown };

struct LockRow {
    const char* controls;
    Command command;
    InRun inRun;
    AtEnd atEnd;
};

const LockRow kLockTable[] = {
    {"TFAcqTable", Command::TestPointGridWindow, InRun::Disabled, AtEnd::Enabled},
    {"TFRepTable", Command::MeasurementsGridWindow, InRun::Disabled, AtEnd::Enabled},
    {"RunMeasureBtn", Command::Run, InRun::Disabled, AtEnd::Enabled},
    {"StopMeasureBtn", Command::Stop, InRun::Enabled, AtEnd::Disabled},
    {"OpenAcquisition, OpenTestPoint", Command::OpenTestPointSet, InRun::Disabled, AtEnd::Enabled},
    {"NewAcqButton, NewTestPoint", Command::NewTestPointSet, InRun::Disabled, AtEnd::Enabled},
    {"NewReportBtn, NewReport", Command::NewMeasurements, InRun::Disabled, AtEnd::Enabled},
    {"OpenReportBtn, OpenReport", Command::OpenMeasurements, InRun::Disabled, AtEnd::Enabled},
    {"SearchComBtn", Command::SearchCom, InRun::Disabled, AtEnd::Enabled},
    {"SaveTP", Command::SaveTestPointSet, InRun::Disabled, AtEnd::Enabled},
    {"EditTPTable", Command::EditTestPointTable, InRun::Disabled, AtEnd::Enabled},
    {"Exporttocsv1", Command::ExportCsv, InRun::Disabled, AtEnd::Enabled},
    {"DataReport1", Command::CompanyData, InRun::Disabled, AtEnd::Enabled},
    {"EMailConfig", Command::MailSettings, InRun::Disabled, AtEnd::Enabled},
    {"TestSendMail", Command::TestMail, InRun::Disabled, AtEnd::Enabled},
    {"GPS1", Command::GpsWindow, InRun::Disabled, AtEnd::Enabled},
    {"File1", Command::FileMenu, InRun::Disabled, AtEnd::Enabled},
    {"Model", Command::ModelMenu, InRun::Disabled, AtEnd::Enabled},
    {"TPointConfig1", Command::TestPointEditor, InRun::Disabled, AtEnd::Enabled},
    {"OpenAddChFromExploration1", Command::ExplorationImport, InRun::Disabled, AtEnd::Enabled},
    {"OpenAlarms", Command::AlarmsMenu, InRun::Disabled, AtEnd::Enabled},
    {"Mail", Command::MailMenu, InRun::Disabled, AtEnd::Enabled},
    {"Language1", Command::LanguageMenu, InRun::Disabled, AtEnd::Enabled},
    {"TestPoints1", Command::TestPointsMenu, InRun::Disabled, AtEnd::Enabled},
    {"Reports", Command::ReportsMenu, InRun::Disabled, AtEnd::Enabled},
    {"OperatingMode", Command::OperatingModeWindow, InRun::Disabled, AtEnd::Enabled},
    {"LoadReport1", Command::LoadReport, InRun::Hidden, AtEnd::Shown},
    {"Exit1", Command::Exit, InRun::Hidden, AtEnd::Shown},
    {"English1", Command::EnglishLanguage, InRun::Hidden, AtEnd::Shown},
    {"Spanish1", Command::SpanishLanguage, InRun::Hidden, AtEnd::Shown},
    {"About1", Command::About, InRun::Hidden, AtEnd::Shown},
    {"ViewFilteredReportBtn, MinMaxAvg1", Command::ReportMinMaxAvg, InRun::Disabled, AtEnd::IfMeasurements},
    {"ViewCompletedReportBtn, byTime1", Command::ReportByTime, InRun::Disabled, AtEnd::IfMeasurements},
    {"ViewGroupedReportBtn, byTestPoint1", Command::ReportByTestPoint, InRun::Disabled, AtEnd::IfMeasurements},
    {"ViewAlarmReportBtn, byAlarm1", Command::ReportByAlarm, InRun::Disabled, AtEnd::IfMeasurements},
    {"CheckBoxBucleRepeticiones, Only1TP, BucleRepeticiones", Command::LoopChoice, InRun::Disabled,
     AtEnd::Enabled},
    {"ContadorStartStop, Continuous, TimeBetweenTP, TimeBetweenTable, Label1-Label4", Command::RepeatChoice,
     InRun::Disabled, AtEnd::Enabled},
    {"TTPointConf: EditFreq ... SelGuarda", Command::EditorFields, InRun::Disabled, AtEnd::Enabled},
    {"TTPointConf: Insert", Command::EditorInsert, InRun::Disabled, AtEnd::Unchanged},
    {"TFormAlarms: DBWarning", Command::AlarmSwitch, InRun::Disabled, AtEnd::Enabled},
    {"TFormAlarms: EditminLV ... DBminLBER", Command::AlarmThresholds, InRun::Disabled, AtEnd::Unchanged},
    {"TShutDown: CheckActiveProg, DatePicker, TimerPicker", Command::ScheduleControls, InRun::Disabled,
     AtEnd::Enabled},
    {"TRepCanals: SelTERSAT", Command::ExplorationBand, InRun::Disabled, AtEnd::Enabled},
    {"TRepCanals: AskChan, ChannelsList, ReceiveCha, ChannelsCANCEL, LowOsc, HighOsc",
     Command::ExplorationTransfer, InRun::Disabled, AtEnd::Unchanged},
};

TEST(Availability, TheRunFollowsTheWholeLockTable)
{
    for (const bool measurementsOpen : {true, false}) {
        Availability a;
        for (const LockRow& row : kLockTable)
            a.Grant(row.command);
        a.Revoke(Command::Stop);
        a.RunEventOccurred(RunEvent::StartBegun, measurementsOpen);
        a.RunEventOccurred(RunEvent::StartLocked, measurementsOpen);
        a.RunEventOccurred(RunEvent::Running, measurementsOpen);
        for (const LockRow& row : kLockTable) {
            SCOPED_TRACE(row.controls);
            switch (row.inRun) {
            case InRun::Disabled: EXPECT_FALSE(a.IsEnabled(row.command)); break;
            case InRun::Enabled: EXPECT_TRUE(a.IsEnabled(row.command)); break;
            case InRun::Hidden: EXPECT_FALSE(a.IsVisible(row.command)); break;
            }
        }
        a.RunEventOccurred(RunEvent::Stopped, measurementsOpen);
        for (const LockRow& row : kLockTable) {
            SCOPED_TRACE(row.controls);
            switch (row.atEnd) {
            case AtEnd::Enabled: EXPECT_TRUE(a.IsEnabled(row.command)); break;
            case AtEnd::Disabled:
            case AtEnd::Unchanged: EXPECT_FALSE(a.IsEnabled(row.command)); break;
            case AtEnd::IfMeasurements: EXPECT_EQ(a.IsEnabled(row.command), measurementsOpen); break;
            case AtEnd::Shown: EXPECT_TRUE(a.IsVisible(row.command)); break;
            }
        }
    }
}
}  // namespace
