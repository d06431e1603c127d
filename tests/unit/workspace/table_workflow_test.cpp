// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's test point set and Measurements table workflow: what a
// front end gets whichever windows (or none) it has.
#include "platform/settings.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/hidden_files.h"
#include "testpoints/table_layouts.h"
#include "workspace/workspace.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
struct WorkflowFixture : testing::Test {
    WorkflowFixture()
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        RegisterDatabaseNames();
    }

    QString Measurements(const QString& name) const { return MeasurementsFolder() + QLatin1Char('/') + name; }
    QString Set(const QString& name) const { return TestPointsFolder() + QLatin1Char('/') + name; }

    void AddPoint(const QString& ch)
    {
        Dataset& set = workspace.AcquiredTable;
        set.Append();
        set.SetText(QStringLiteral("ch"), ch);
        set.Post();
    }

    static long long Rows(const QString& file)
    {
        Dataset table(QString(), file);
        table.Open();
        return table.RecordCount();
    }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    Workspace workspace{clock, dialogs, system, settings};
};

TEST_F(WorkflowFixture, ASetIsEditedInTheHiddenWorkingCopyAndSavedWhereTheUserSays)
{
    workspace.NewTestPointSet();
    EXPECT_EQ(workspace.AcquiredTable.FilePath(), WorkingCopyPath());
    EXPECT_TRUE(IsTableHidden(WorkingCopyPath()));
    AddPoint(QStringLiteral("E21"));
    workspace.testPointSetModified = true;

    ASSERT_TRUE(workspace.SaveTestPointSetAs(Set(QStringLiteral("kept.db"))));
    EXPECT_FALSE(workspace.testPointSetModified);
    EXPECT_EQ(workspace.TestPointSetFile(), Set(QStringLiteral("kept.db")));
    EXPECT_FALSE(IsTableHidden(Set(QStringLiteral("kept.db"))));
    EXPECT_TRUE(workspace.AcquiredTable.IsOpen());
    EXPECT_EQ(Rows(Set(QStringLiteral("kept.db"))), 1);

    workspace.AcquiredTable.Close();
    workspace.OpenTestPointSet(Set(QStringLiteral("kept.db")));
    EXPECT_EQ(workspace.AcquiredTable.FilePath(), WorkingCopyPath());
    EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);
    EXPECT_TRUE(workspace.availability.IsEnabled(Command::TestPointGrid));
}

// A file another dataset holds must never be replaced under it: the user is
// told, and nothing is lost.
TEST_F(WorkflowFixture, ATableTheStationHoldsIsNeverReplaced)
{
    ASSERT_TRUE(workspace.CreateMeasurementsTable(Measurements(QStringLiteral("run.db"))));
    Dataset& measurements = workspace.ReportTable;
    measurements.Append();
    measurements.SetText(QStringLiteral("ch"), QStringLiteral("E21"));
    measurements.Post();
    workspace.NewTestPointSet();
    AddPoint(QStringLiteral("E22"));

    struct Attempt {
        const char* what;
        std::function<bool()> run;
    };
    const Attempt attempts[] = {
        {"save the set onto the open Measurements table",
         [&] { return workspace.SaveTestPointSetAs(Measurements(QStringLiteral("run.db"))); }},
        {"create a Measurements table onto the working copy",
         [&] { return workspace.CreateMeasurementsTable(WorkingCopyPath()); }},
        {"open the working copy as a Measurements table",
         [&] { return workspace.OpenMeasurementsTable(WorkingCopyPath()); }},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.what);
        dialogs.messages.clear();
        EXPECT_FALSE(attempt.run());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("The table "))) << dialogs.messages[0].toStdString();
        EXPECT_TRUE(measurements.IsOpen());
        EXPECT_EQ(measurements.RecordCount(), 1);
        EXPECT_EQ(QFileInfo(measurements.FilePath()).fileName(), QStringLiteral("run.db"));
        EXPECT_TRUE(workspace.AcquiredTable.IsOpen());
        EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);
    }
}

TEST_F(WorkflowFixture, SavingOntoTheWorkingCopyIsRefusedInTheCurrentLanguage)
{
    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    workspace.NewTestPointSet();
    AddPoint(QStringLiteral("E21"));
    EXPECT_FALSE(workspace.SaveTestPointSetAs(WorkingCopyPath()));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("temp.db es la copia de trabajo")));
    EXPECT_EQ(workspace.AcquiredTable.RecordCount(), 1);
}

TEST_F(WorkflowFixture, ClosingAModifiedSetOffersToSaveAndARefusedSaveKeepsItOpen)
{
    workspace.NewTestPointSet();
    AddPoint(QStringLiteral("E21"));
    workspace.testPointSetModified = true;

    dialogs.answers = {true};
    dialogs.saveAnswers = {WorkingCopyPath()};
    EXPECT_FALSE(workspace.CloseTestPointSet()) << "the refused save must stop the closing command";
    EXPECT_TRUE(workspace.AcquiredTable.IsOpen());

    dialogs.answers = {true};
    dialogs.saveAnswers = {Set(QStringLiteral("mine.db"))};
    EXPECT_TRUE(workspace.CloseTestPointSet());
    EXPECT_FALSE(workspace.AcquiredTable.IsOpen());
    EXPECT_EQ(Rows(Set(QStringLiteral("mine.db"))), 1);
}
}  // namespace
