// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt_printers.h"
#include "support/recording_dialogs.h"

#include "platform/settings.h"
#include "reports/acquired_report.h"
#include "reports/company_data.h"
#include "workspace/report_kind.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {
TEST(CompanyDataTest, AcceptSetsTheHeaderAndWritesLinesOneToTwelveAndFourteen)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    for (int line = 0; line < 30; ++line)
        settings.Replace(line, QStringLiteral("old%1").arg(line));
    ReportMailSwitches switches;
    TAcquiredQReport report(switches);
    RecordingDialogs dialogs;
    CompanyData data;
    for (int i = 0; i < CompanyData::kItemCount; ++i)
        data.texts[static_cast<size_t>(i)] = QStringLiteral("t%1").arg(i);
    data.texts[CompanyData::ReportNumber] = QStringLiteral("R7");

    ASSERT_TRUE(AcceptCompanyData(data, report, settings, dialogs));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelReportNumber1")), QStringLiteral("R7"));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelTechName1")), QStringLiteral("t10"));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelSerial1")), QStringLiteral("t13"));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelMeasurePoint1")), QStringLiteral("t12"));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelModel1")), TAcquiredQReport::NoData());

    Settings stored(dir.path());
    ASSERT_EQ(stored.Load(), Settings::LoadResult::Loaded);
    const QStringList expected{QStringLiteral("old0"), "t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8",
                               "t9", "t10", "t13", "old13", "t12", "old15"};
    for (int line = 0; line < expected.size(); ++line)
        EXPECT_EQ(stored.Line(line), expected[line]) << "line " << line;
    EXPECT_FALSE(stored.Lines().contains(QStringLiteral("R7"))) << "the report number is never stored";
    EXPECT_EQ(QFile::permissions(settings.FilePath()) & (QFile::ReadGroup | QFile::ReadOther), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(CompanyDataTest, AcceptThatCannotSaveShowsTheMessageAndStillSetsTheHeader)
{
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("missing")));
    settings.Replace(0, QStringLiteral("spanish"));
    ReportMailSwitches switches;
    TAcquiredQReport report(switches);
    RecordingDialogs dialogs;
    CompanyData data;
    data.texts[CompanyData::Name] = QStringLiteral("Acme");
    EXPECT_FALSE(AcceptCompanyData(data, report, settings, dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("No se puede guarda fichero ")));
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelName1")), QStringLiteral("Acme"));
}

TEST(CompanyDataTest, FromSettingsCutsToTheLimitsAndLeavesTheReportNumberEmpty)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    for (int line = 1; line <= 14; ++line)
        settings.Replace(line, QString(50, QLatin1Char('a' + line)));
    const CompanyData data = CompanyData::FromSettings(settings);
    EXPECT_EQ(data.texts[CompanyData::Name].size(), 43);
    EXPECT_EQ(data.texts[CompanyData::Website].size(), 43);
    EXPECT_EQ(data.texts[CompanyData::TechnicianName], QString(40, QLatin1Char('a' + 11)));
    EXPECT_EQ(data.texts[CompanyData::SerialNumber], QString(40, QLatin1Char('a' + 12)));
    EXPECT_EQ(data.texts[CompanyData::MeasurePoint], QString(40, QLatin1Char('a' + 14)));
    EXPECT_TRUE(data.texts[CompanyData::ReportNumber].isEmpty());
}
}  // namespace
