// SPDX-License-Identifier: GPL-3.0-or-later
// The four report commands as every front end (toolbar, menu, scheduled
// actions, vigilo-report) runs them.
#include "platform/settings.h"
#include "reports/acquired_report.h"
#include "reports/company_data.h"
#include "reports/report_data.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/qt_printers.h"
#include "support/recording_dialogs.h"
#include "support/recording_mailer.h"
#include "support/temp_folder.h"
#include "testpoints/table_layouts.h"
#include "workspace/report_command.h"
#include "workspace/workspace.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
struct ReportCommand : testing::Test {
    ReportCommand()
    {
        settings.Replace(Settings::kLanguageLine, QStringLiteral("english"));
        RegisterDatabaseNames();
        workspace.mailer = &mailer;
        company.texts[CompanyData::ReportNumber] = QStringLiteral("R1");
        workspace.acceptCompanyData = [this] {
            AcceptCompanyData(company, workspace.AcquiredQReport(), settings, dialogs);
        };
        // What the preview would show, taken when it opens.
        workspace.AcquiredQReport().showPreview = [this](std::shared_ptr<PreparedReport>, std::function<void()> closed) {
            TAcquiredQReport& report = workspace.AcquiredQReport();
            Shown shown;
            shown.table = report.Table();
            shown.type = report.LabelText(QStringLiteral("QRLabelReportType1"));
            shown.referenceTitle = report.LabelText(QStringLiteral("QRLabel23"));
            shown.start = report.LabelText(QStringLiteral("QRLabelStartTime1"));
            shown.end = report.LabelText(QStringLiteral("QRLabelEndTime1"));
            for (const QString& name : report.FieldNames())
                if (!report.FieldEnabled(name))
                    shown.hidden.append(name);
            previews.push_back(shown);
            closed();
        };
    }

    // `acquisitions` rows over `points` test points of FM radio (LEVEL only),
    // the last one raising an alarm.
    void MakeTables(int points, int acquisitions)
    {
        ASSERT_TRUE(workspace.CreateMeasurementsTable(MeasurementsFolder() + QStringLiteral("/m.db")));
        workspace.NewTestPointSet();
        for (int i = 0; i < points; ++i) {
            workspace.AcquiredTable.Append();
            workspace.AcquiredTable.SetText(QStringLiteral("type"), QStringLiteral("Analog"));
            workspace.AcquiredTable.Post();
        }
        Dataset& m = workspace.ReportTable;
        for (int i = 0; i < acquisitions; ++i) {
            m.Append();
            m.SetText(QStringLiteral("index"), QString::number(i % points + 1));
            m.SetText(QStringLiteral("type"), QStringLiteral("Analog"));
            m.SetText(QStringLiteral("system"), QStringLiteral("FM"));
            m.SetText(QStringLiteral("band"), QStringLiteral("SAT"));
            m.SetNumber(QStringLiteral("LEVEL"), 50 + i);
            m.SetText(QStringLiteral("Hour"), QStringLiteral("10:00:%1").arg(i, 2, 10, QLatin1Char('0')));
            m.SetText(QStringLiteral("warning"), i + 1 == acquisitions ? QStringLiteral("YES") : QStringLiteral("NO"));
            m.Post();
        }
    }

    QString FilterFile() const { return DatabaseSubFolder(QStringLiteral("Filter")) + QStringLiteral("/Filter.db"); }

    struct Shown {
        QString table, type, referenceTitle, start, end;
        QStringList hidden;
    };

    TempProgramFolder folder;
    Settings settings{folder.Path()};
    VirtualClock clock;
    RecordingDialogs dialogs;
    FakeSystemCommands system;
    RecordingMailer mailer;
    CompanyData company;
    Workspace workspace{clock, dialogs, system, settings};
    std::vector<Shown> previews;
};

TEST_F(ReportCommand, EachKindBindsItsRowsAndColumnsThenPreviews)
{
    MakeTables(2, 4);
    const QStringList positions{"QRDBTextLatitude", "QRDBTextNS", "QRDBTextLongitude", "QRDBTextEW"};
    struct Case {
        ReportKind kind;
        QString table;
        QString referenceTitle;
        QStringList hidden;
        int filterRows;  // Filter table rows (not "by Time")
    };
    const QString measurements = workspace.ReportTable.FilePath();
    const std::vector<Case> cases{
        {ReportKind::MinMaxAvg, FilterFile(), "REF",
         QStringList{"QRDBTextCBER", "QRDBTextVBER", "QRDBTextLBER", "QRDBTextDate", "QRDBTextHour"} + positions, 8},
        {ReportKind::ByTime, measurements, "", {"QRDBTextReference"}, 0},
        {ReportKind::ByTestPoint, FilterFile(), "", {"QRDBTextReference"}, 4},
        {ReportKind::ByAlarm, FilterFile(), "", {"QRDBTextReference"}, 1},
    };
    for (const Case& c : cases) {
        previews.clear();
        workspace.ReportTable.SetFilter(QStringLiteral("index=1"));
        workspace.ReportTable.SetFiltered(true);
        const ReportCommandResult result = RunReportCommand(workspace, c.kind, false);
        EXPECT_EQ(result.outcome, ReportCommandResult::Outcome::Previewed);
        ASSERT_EQ(previews.size(), 1U);
        const Shown& shown = previews[0];
        EXPECT_EQ(shown.table, c.table);
        EXPECT_EQ(shown.type, ReportTypeText(c.kind));
        EXPECT_EQ(shown.referenceTitle, c.referenceTitle);
        QStringList hidden = shown.hidden;
        QStringList expected = c.hidden;
        hidden.sort();
        expected.sort();
        EXPECT_EQ(hidden, expected) << shown.type.toStdString();
        // The start and end texts come from the whole table, whatever the filter was.
        EXPECT_EQ(shown.start, QStringLiteral("10:00:00"));
        EXPECT_EQ(shown.end, QStringLiteral("10:00:03"));
        EXPECT_FALSE(workspace.ReportTable.Filtered());
        if (c.kind != ReportKind::ByTime) {
            ASSERT_TRUE(workspace.FilterTable.IsOpen());
            EXPECT_EQ(workspace.FilterTable.RecordCount(), c.filterRows) << shown.type.toStdString();
        }
        // Every column shows again for the next report.
        for (const QString& name : workspace.AcquiredQReport().FieldNames())
            EXPECT_TRUE(workspace.AcquiredQReport().FieldEnabled(name)) << name.toStdString();
    }
    EXPECT_TRUE(mailer.reportMails.empty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ReportCommand, WithTheMailSwitchOnSavesTheReportAndItsPdfAndMailsThemWithoutPreview)
{
    MakeTables(2, 4);
    workspace.reportMail.Set(ReportKind::ByAlarm, true);
    const ReportCommandResult result = RunReportCommand(workspace, ReportKind::ByAlarm, false);
    const QString saved = SaveReportsFolder() + QStringLiteral("/R1_byAlarm.qrp");
    const QString pdf = SaveReportsFolder() + QStringLiteral("/R1_byAlarm.pdf");
    EXPECT_EQ(result.outcome, ReportCommandResult::Outcome::Mailed);
    EXPECT_TRUE(result.mailSent);
    EXPECT_TRUE(previews.empty());
    EXPECT_TRUE(QFile::exists(saved));
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5) == "%PDF-");
    ASSERT_EQ(mailer.reportMails.size(), 1U);
    EXPECT_EQ(mailer.reportMails[0].reportFile, saved);
    EXPECT_EQ(mailer.reportMails[0].alsoAttach, QStringList{pdf});

    // Another kind with its switch off still previews.
    RunReportCommand(workspace, ReportKind::ByTime, false);
    EXPECT_EQ(previews.size(), 1U);
    EXPECT_EQ(mailer.reportMails.size(), 1U);
}

TEST_F(ReportCommand, FewerAcquisitionsThanTestPointsStopOnlyMinMaxAvgWithTheMessageOfOnly1TP)
{
    MakeTables(12, 10);
    // A Filter table from an earlier report stays as it was.
    WriteEmptyTable(FilterFile(), FilterFields());
    const QDateTime before = QFileInfo(FilterFile()).lastModified();
    for (const bool only1TP : {true, false}) {
        dialogs.messages.clear();
        workspace.ReportTable.SetFiltered(true);
        const ReportCommandResult result = RunReportCommand(workspace, ReportKind::MinMaxAvg, only1TP);
        EXPECT_EQ(result.outcome, ReportCommandResult::Outcome::Refused);
        EXPECT_EQ(dialogs.messages, QStringList{only1TP ? QStringLiteral("The report table and test points do not match")
                                                        : QStringLiteral("Not completed minium acquisitions")});
        EXPECT_FALSE(workspace.ReportTable.Filtered());
    }
    EXPECT_EQ(QFileInfo(FilterFile()).lastModified(), before);
    EXPECT_TRUE(previews.empty());
    for (const ReportKind kind : {ReportKind::ByTime, ReportKind::ByTestPoint, ReportKind::ByAlarm})
        EXPECT_EQ(RunReportCommand(workspace, kind, true).outcome, ReportCommandResult::Outcome::Previewed);
    EXPECT_EQ(previews.size(), 3U);
}

TEST_F(ReportCommand, AMismatchInTheRowsSaysSoInSpanishAndKeepsTheRowsBuilt)
{
    settings.Replace(Settings::kLanguageLine, QStringLiteral("spanish"));
    MakeTables(2, 4);
    // The second test point's first acquisition lost its LEVEL.
    Dataset& m = workspace.ReportTable;
    m.First();
    m.Next();
    m.Edit();
    m.SetText(QStringLiteral("LEVEL"), QString());
    m.Post();
    const ReportCommandResult result = RunReportCommand(workspace, ReportKind::MinMaxAvg, false);
    EXPECT_EQ(result.outcome, ReportCommandResult::Outcome::Refused);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("La tabla de informe y puntos de test no coinciden")});
    EXPECT_TRUE(previews.empty());
    ASSERT_TRUE(workspace.FilterTable.IsOpen());
    EXPECT_EQ(workspace.FilterTable.RecordCount(), 4);
}
}  // namespace
