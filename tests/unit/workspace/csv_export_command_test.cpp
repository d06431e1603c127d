// SPDX-License-Identifier: GPL-3.0-or-later
// "Export to .csv" as every front end runs it.
#include "platform/settings.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/qt_printers.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "testpoints/table_layouts.h"
#include "workspace/csv_export_command.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
struct CsvCommand : testing::Test {
    CsvCommand()
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
        RegisterDatabaseNames();
    }

    QString Target() const { return folder.File(QStringLiteral("out.csv")); }

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    Workspace workspace{clock, dialogs, system, settings};
};

TEST_F(CsvCommand, WithoutAMeasurementsTableSaysSoBeforeAskingForAFile)
{
    ExportMeasurementsCsv(workspace);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Error: no existe tabla de informes")});
    EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST_F(CsvCommand, CancelWritesNothingAndSaysNothing)
{
    ASSERT_TRUE(workspace.CreateMeasurementsTable(MeasurementsFolder() + QStringLiteral("/m.db")));
    ExportMeasurementsCsv(workspace);
    ASSERT_EQ(dialogs.saveRequests.size(), 1U);
    EXPECT_EQ(dialogs.saveRequests[0].filter, QStringLiteral("Text(*.csv)"));
    EXPECT_EQ(dialogs.saveRequests[0].defaultExtension, QStringLiteral("csv"));
    EXPECT_TRUE(dialogs.saveRequests[0].confirmOverwrite);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(Target()));
}

TEST_F(CsvCommand, WritesTheOpenTableIncludingItsPendingRow)
{
    ASSERT_TRUE(workspace.CreateMeasurementsTable(MeasurementsFolder() + QStringLiteral("/m.db")));
    workspace.ReportTable.Append();
    workspace.ReportTable.SetText(QStringLiteral("ch"), QStringLiteral("E21"));
    dialogs.saveAnswers.push_back(Target());
    ExportMeasurementsCsv(workspace);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    QFile f(Target());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(";E21;")) << lines[1].toStdString();
}

TEST_F(CsvCommand, AnUnwritableTargetShowsTheMessage)
{
    ASSERT_TRUE(workspace.CreateMeasurementsTable(MeasurementsFolder() + QStringLiteral("/m.db")));
    dialogs.saveAnswers.push_back(folder.File(QStringLiteral("missing/out.csv")));
    ExportMeasurementsCsv(workspace);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Error: no existe tabla de informes")});
}
}  // namespace
