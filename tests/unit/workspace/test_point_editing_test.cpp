// SPDX-License-Identifier: GPL-3.0-or-later
// The row commands of the test point table and the channel plan adds, over
// the workspace's test point set.
#include "platform/settings.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/table_layouts.h"
#include "workspace/test_point_editing.h"
#include "workspace/workspace.h"

#include <gtest/gtest.h>

#include <map>

namespace {
using Row = std::map<QString, QString>;

struct EditingFixture : testing::Test {
    EditingFixture()
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        RegisterDatabaseNames();
        workspace.NewTestPointSet();
    }

    void AddPoint(const QString& ch, double minLV = 0)
    {
        Dataset& set = workspace.AcquiredTable;
        set.Append();
        set.SetText(QStringLiteral("ch"), ch);
        set.SetText(QStringLiteral("alarm"), QStringLiteral("ON"));
        set.SetNumber(QStringLiteral("minLV"), minLV);
        set.SetText(QStringLiteral("maxCBER"), QStringLiteral("1E-4"));
        set.Post();
    }

    QStringList Channels()
    {
        Dataset& set = workspace.AcquiredTable;
        set.Refresh();
        QStringList out;
        const long long current = set.RecNo();
        for (set.First(); !set.Eof(); set.Next())
            out.append(set.Text(QStringLiteral("ch")));
        if (current >= 0)
            set.MoveTo(current);
        return out;
    }

    // The reports on the test points are available, the set unmodified.
    void ResetFlags()
    {
        workspace.availability.Grant(Command::ReportByTestPoint);
        workspace.availability.Grant(Command::ReportMinMaxAvg);
        workspace.testPointSetModified = false;
    }
    bool ReportsTaken() const
    {
        return !workspace.availability.IsEnabled(Command::ReportByTestPoint) &&
               !workspace.availability.IsEnabled(Command::ReportMinMaxAvg);
    }

    // A plan table with one row of `values`.
    void MakePlan(Dataset& plan, const char* folder, const std::vector<FieldDef>& layout, const Row& values)
    {
        plan.SetDatabaseName(QLatin1String(folder));
        plan.SetTableName(QStringLiteral("plan.db"));
        plan.CreateTable(layout);
        plan.Open();
        plan.Append();
        for (const auto& [field, value] : values)
            plan.SetText(field, value);
        plan.Post();
        plan.First();
    }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    Workspace workspace{clock, dialogs, system, settings};
    TestPointEditing editing{workspace};
};

TEST_F(EditingFixture, BlankRowsHaveNoThresholdsAndComeAtTheEndOrBeforeTheCurrentRow)
{
    ResetFlags();
    editing.AddBlank();
    EXPECT_TRUE(workspace.testPointSetModified);
    EXPECT_TRUE(ReportsTaken());
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::EditorEdit));
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::TestPointEditor));
    Dataset& set = workspace.AcquiredTable;
    set.Refresh();  // the next operation stores the pending row
    ASSERT_EQ(set.RecordCount(), 1);
    EXPECT_EQ(set.Text(QStringLiteral("index")), QStringLiteral("1"));
    for (const char* field : {"minLV", "maxLV", "minC/N", "maxC/N", "minV/A", "maxV/A", "minMER", "maxMER"})
        EXPECT_EQ(set.Text(QLatin1String(field)), QStringLiteral("0")) << field;
    for (const char* field : {"minCBER", "maxCBER", "minVBER", "maxVBER", "minLBER", "maxLBER"})
        EXPECT_EQ(set.Text(QLatin1String(field)), QStringLiteral("OFF")) << field;
    for (const char* field : {"ch", "freq", "type", "band", "alarm", "plan"})
        EXPECT_TRUE(set.Text(QLatin1String(field)).isEmpty()) << field;

    set.SetText(QStringLiteral("ch"), QString());  // a no-op edit keeps the row as it is
    AddPoint(QStringLiteral("B"));
    set.First();
    editing.InsertBlank();
    set.SetText(QStringLiteral("ch"), QStringLiteral("A"));
    EXPECT_EQ(Channels(), QStringList({QStringLiteral("A"), QString(), QStringLiteral("B")}));
}

TEST_F(EditingFixture, DeletingTheLastRowsHandsTheTableBackToItsEditor)
{
    AddPoint(QStringLiteral("A"));
    AddPoint(QStringLiteral("B"));
    AddPoint(QStringLiteral("C"));
    workspace.availability.Grant(Command::TestPointGrid);
    workspace.availability.Revoke(Command::AlarmSwitch);
    workspace.availability.Revoke(Command::EditTestPointTable);
    ResetFlags();

    workspace.AcquiredTable.MoveTo(1);
    editing.DeleteOne();
    EXPECT_EQ(Channels(), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_TRUE(workspace.testPointSetModified);
    EXPECT_TRUE(ReportsTaken());
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::TestPointGrid));

    editing.DeleteAll();
    EXPECT_TRUE(Channels().isEmpty());
    EXPECT_FALSE(workspace.availability.IsEnabled(Command::TestPointGrid));
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::AlarmSwitch));
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::EditTestPointTable));

    // One row deleted alone empties the table too; a delete on an empty set is harmless.
    AddPoint(QStringLiteral("D"));
    workspace.availability.Grant(Command::TestPointGrid);
    editing.DeleteOne();
    EXPECT_FALSE(workspace.availability.IsEnabled(Command::TestPointGrid));
    editing.DeleteOne();
    editing.DeleteAll();
    EXPECT_TRUE(Channels().isEmpty());
}

TEST_F(EditingFixture, CutAndPasteMovesATestPointWithANewIndexAndItsThresholds)
{
    AddPoint(QStringLiteral("A"));
    AddPoint(QStringLiteral("B"), 42.5);
    AddPoint(QStringLiteral("C"));
    Dataset& set = workspace.AcquiredTable;
    set.MoveTo(1);
    ResetFlags();
    editing.Cut();
    EXPECT_TRUE(ReportsTaken());
    EXPECT_EQ(editing.Clipboard().texts[0], QStringLiteral("B"));
    EXPECT_EQ(Channels(), QStringList({QStringLiteral("A"), QStringLiteral("C")}));

    set.First();
    editing.Paste();
    EXPECT_EQ(Channels(), QStringList({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));
    set.First();
    EXPECT_EQ(set.Text(QStringLiteral("index")), QStringLiteral("4"));
    EXPECT_EQ(set.Number(QStringLiteral("minLV")), 42.5);
    EXPECT_EQ(set.Text(QStringLiteral("alarm")), QStringLiteral("ON"));
    EXPECT_EQ(set.Text(QStringLiteral("maxCBER")), QStringLiteral("1E-4"));
}

TEST_F(EditingFixture, CopyMarksTheSetModifiedAndAnEmptyClipboardPastesABlankRow)
{
    editing.Paste();
    Dataset& set = workspace.AcquiredTable;
    ASSERT_EQ(set.RecordCount(), 1);
    EXPECT_TRUE(set.Text(QStringLiteral("ch")).isEmpty());
    EXPECT_EQ(set.Text(QStringLiteral("maxMER")), QStringLiteral("0"));

    editing.DeleteAll();
    // Nothing to copy or cut in an empty set; the clipboard keeps what it had.
    editing.Copy();
    editing.Cut();
    EXPECT_TRUE(editing.Clipboard().texts[0].isEmpty());

    AddPoint(QStringLiteral("A"));
    ResetFlags();
    editing.Copy();
    EXPECT_TRUE(workspace.testPointSetModified);
    EXPECT_FALSE(ReportsTaken());
    EXPECT_EQ(Channels(), QStringList({QStringLiteral("A")}));
}

// The editing window keeps its buttons during a run; what the run locked stays locked.
TEST_F(EditingFixture, ARunKeepsItsLocksWhileRowsAreEdited)
{
    AddPoint(QStringLiteral("A"));
    workspace.availability.RunEventOccurred(RunEvent::Running, true);
    editing.AddBlank();
    editing.DeleteAll();
    for (Command locked : {Command::TestPointEditor, Command::EditTestPointTable, Command::AlarmSwitch})
        EXPECT_FALSE(workspace.availability.IsEnabled(locked)) << static_cast<int>(locked);
    workspace.availability.RunEventOccurred(RunEvent::Stopped, true);
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::TestPointEditor));
}

TEST_F(EditingFixture, CommandsOnAClosedSetDoNothingButTakeTheReports)
{
    workspace.AcquiredTable.Close();
    ResetFlags();
    editing.DeleteOne();
    editing.DeleteAll();
    editing.Copy();
    editing.Cut();
    editing.Paste();
    EXPECT_FALSE(workspace.testPointSetModified);
    EXPECT_TRUE(ReportsTaken());
}

// ---- Channel plans --------------------------------------------------------------------

struct TerrestrialCase {
    PlanStandard standard;
    Row expected;  // fields of the new test point beyond those every add writes
};

TEST_F(EditingFixture, ATerrestrialPlanRowBecomesATestPointOfEachStandard)
{
    Dataset plan;
    MakePlan(plan, dbnames::kTerrestrial, TerrestrialPlanFields(),
             {{QStringLiteral("ch"), QStringLiteral("E21")}, {QStringLiteral("analog freq"), QStringLiteral("471,25")},
              {QStringLiteral("digital freq"), QStringLiteral("474,0,1")}, {QStringLiteral("channel spacing"), QStringLiteral("8")},
              {QStringLiteral("system"), QStringLiteral("Pal BG")}, {QStringLiteral("plan"), QStringLiteral("CCIR")}});
    const auto q = [](const char* s) { return QLatin1String(s); };
    const TerrestrialCase cases[] = {
        {PlanStandard::DvbC, {{q("type"), q("DVB-C")}, {q("modulation"), q("64QAM")}, {q("symbol rate"), q("6875")}, {q("inv.spectral"), q("ON")}}},
        {PlanStandard::Dab, {{q("type"), q("DVB-C")}, {q("modulation"), q("64QAM")}, {q("symbol rate"), q("6875")}, {q("inv.spectral"), q("ON")}}},
        {PlanStandard::J83, {{q("type"), q("J-83")}, {q("modulation"), q("64QAM")}, {q("symbol rate"), q("5057")}, {q("inv.spectral"), q("ON")}}},
        {PlanStandard::DvbTH, {{q("type"), q("DVB-T/H")}, {q("inv.spectral"), q("OFF")}, {q("g.interval"), q("1/4")}, {q("carrier"), q("8K")}}},
        {PlanStandard::DvbT2, {{q("type"), q("DVB-T2")}, {q("inv.spectral"), q("OFF")}, {q("g.interval"), q("1/4")}, {q("carrier"), q("8K")}}},
        {PlanStandard::Vsb8, {{q("type"), q("8-VSB")}, {q("inv.spectral"), q("OFF")}}},
        {PlanStandard::IsdbT, {{q("type"), q("ISDB-T")}, {q("inv.spectral"), q("OFF")}, {q("g.interval"), q("1/4")}, {q("carrier"), q("8K")}, {q("layer"), q("B")}}},
        {PlanStandard::Dtmb, {{q("type"), q("DTMB")}}},
        {PlanStandard::Analog, {{q("type"), q("Analog")}, {q("system"), q("Secam L")}}},
    };
    const QStringList optional{QStringLiteral("modulation"), QStringLiteral("symbol rate"), QStringLiteral("inv.spectral"),
                               QStringLiteral("g.interval"), QStringLiteral("carrier"), QStringLiteral("layer"),
                               QStringLiteral("system"), QStringLiteral("code rate")};
    Dataset& set = workspace.AcquiredTable;
    for (const TerrestrialCase& c : cases) {
        workspace.testPointSetModified = false;
        editing.AddTerrestrialChannel(plan, c.standard, QStringLiteral("Secam L"), QStringLiteral("B"));
        EXPECT_TRUE(workspace.testPointSetModified);
        set.Refresh();
        set.Last();
        const QString type = c.expected.at(QStringLiteral("type"));
        EXPECT_EQ(set.Text(QStringLiteral("ch")), QStringLiteral("E21")) << type.toStdString();
        // Only the first comma of a plan's number becomes a point.
        const QString freq = c.standard == PlanStandard::Analog ? QStringLiteral("471.25") : QStringLiteral("474.0,1");
        EXPECT_EQ(set.Text(QStringLiteral("freq")), freq) << type.toStdString();
        EXPECT_EQ(set.Text(QStringLiteral("bw")), QStringLiteral("8"));
        EXPECT_EQ(set.Text(QStringLiteral("lnb")), QStringLiteral("External"));
        EXPECT_EQ(set.Text(QStringLiteral("band")), QStringLiteral("TER"));
        EXPECT_EQ(set.Text(QStringLiteral("plan")), QStringLiteral("CCIR"));
        EXPECT_EQ(set.Text(QStringLiteral("alarm")), QStringLiteral("OFF"));
        EXPECT_EQ(set.Text(QStringLiteral("minMER")), QStringLiteral("0"));
        EXPECT_EQ(set.Text(QStringLiteral("minLBER")), QStringLiteral("OFF"));
        for (const QString& field : optional) {
            const auto it = c.expected.find(field);
            EXPECT_EQ(set.Text(field), it == c.expected.end() ? QString() : it->second)
                << type.toStdString() << " " << field.toStdString();
        }
    }
    EXPECT_EQ(set.RecordCount(), static_cast<long long>(std::size(cases)));
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::EditorEdit));
}

TEST_F(EditingFixture, ASatellitePlanRowCarriesItsParameters)
{
    const auto q = [](const char* s) { return QLatin1String(s); };
    Row row{{q("Id"), q("3")},           {q("ch"), q("10775H")},      {q("freq LNB"), q("10775")},
            {q("freq"), q("1025,5")},    {q("Polarity"), q("H")},     {q("lnb"), q("18v")},
            {q("channel spacing"), q("36")}, {q("modulation"), q("8PSK")}, {q("type"), q("DVB-S2")},
            {q("symbol rate"), q("29900")}, {q("code rate"), q("3/4")}, {q("Satellite"), q("HOTBIRD 13E")},
            {q("invspec"), q("OFF")},   {q("Type Banda"), q("LOW")}};
    Dataset& set = workspace.AcquiredTable;
    for (const char* type : {"DVB-S2", "DSS"}) {
        row[q("type")] = q(type);
        Dataset plan;
        MakePlan(plan, dbnames::kSatellite, SatellitePlanFields(), row);
        editing.AddSatelliteChannel(plan);
        plan.Close();
        set.Refresh();
        set.Last();
        const bool carries = QLatin1String(type) == QLatin1String("DVB-S2");
        const Row expected{{q("ch"), q("10775H")},   {q("freq"), q("1025.5")},       {q("type"), q(type)},
                           {q("bw"), q("36")},       {q("lnb"), q("18v")},           {q("symbol rate"), q("29900")},
                           {q("code rate"), q("3/4")}, {q("plan"), q("HOTBIRD 13E")}, {q("band"), q("SAT")},
                           {q("alarm"), q("OFF")},   {q("maxVBER"), q("OFF")},
                           {q("inv.spectral"), carries ? q("OFF") : QString()},
                           {q("modulation"), carries ? q("8PSK") : QString()}};
        for (const auto& [field, value] : expected)
            EXPECT_EQ(set.Text(field), value) << type << " " << field.toStdString();
    }
}

// A plan without a field an add reads adds nothing: no half-written row.
TEST_F(EditingFixture, APlanLackingAFieldAddsNothing)
{
    std::vector<FieldDef> layout = TerrestrialPlanFields();
    layout.erase(std::remove_if(layout.begin(), layout.end(),
                                [](const FieldDef& f) { return f.name == QLatin1String("channel spacing"); }),
                 layout.end());
    Dataset plan;
    MakePlan(plan, dbnames::kTerrestrial, layout, {{QStringLiteral("ch"), QStringLiteral("E5")}});
    EXPECT_THROW(editing.AddTerrestrialChannel(plan, PlanStandard::DvbC), std::exception);
    workspace.AcquiredTable.Refresh();
    EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 0);
}

TEST(PlanButtons, FollowTheModelCode)
{
    const struct {
        std::vector<int> models;
        PlanButtons buttons;
    } cases[] = {
        {{4, 5, 9, 10}, {true, true, true, false, false, false, false}},
        {{0, 1, 2, 3, 6, 7, 8}, {false, false, true, true, true, false, false}},
        {{11}, {true, false, true, false, false, true, false}},
        {{12}, {true, false, true, false, false, false, true}},
    };
    for (const auto& c : cases) {
        for (int model : c.models) {
            const auto buttons = PlanButtonsFor(model);
            ASSERT_TRUE(buttons) << model;
            EXPECT_EQ(std::tie(buttons->j83, buttons->vsb8, buttons->dvbc, buttons->dvbth, buttons->dvbt2,
                               buttons->isdbt, buttons->dtmb),
                      std::tie(c.buttons.j83, c.buttons.vsb8, c.buttons.dvbc, c.buttons.dvbth, c.buttons.dvbt2,
                               c.buttons.isdbt, c.buttons.dtmb))
                << model;
        }
    }
    EXPECT_FALSE(PlanButtonsFor(-1));
    EXPECT_FALSE(PlanButtonsFor(13));
}

}  // namespace
