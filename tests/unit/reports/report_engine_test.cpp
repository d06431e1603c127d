// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_tables.h"
#include "support/qt_printers.h"

#include "platform/errors.h"
#include "platform/texts.h"
#include "reports/acquired_report.h"
#include "reports/prepared_report.h"
#include "workspace/report_kind.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {
// The page of the report page: 10 mm margins, a 99.8 mm title band, a
// 7.9 mm column-title band and 7.5 mm rows.
constexpr double kMargin = 10.0;
constexpr double kTitle = 99.8;
constexpr double kColumnTitles = 7.9;
constexpr double kRow = 7.5;

class ReportEngineTest : public ::testing::Test {
protected:
    QString Table(long long rows, long long gapEvery = 0)
    {
        const QString path = m_dir.filePath(QStringLiteral("m%1_%2.db").arg(rows).arg(gapEvery));
        WriteMeasurements(path, rows, gapEvery);
        return path;
    }
    // The report as "by Time" binds it: the Measurements table, no reference column.
    std::shared_ptr<PreparedReport> ByTime(const QString& table)
    {
        report.SetTable(table);
        report.SetFieldEnabled(QStringLiteral("QRDBTextReference"), false);
        return report.Prepare();
    }

    QTemporaryDir m_dir;
    ReportMailSwitches switches;
    TAcquiredQReport report{switches};
};

TEST_F(ReportEngineTest, PageCountFollowsRowCountWithoutReadingRows)
{
    // Ten rows fit under the header on the first page, 24 on every later one.
    const struct {
        long long rows;
        long long pages;
    } cases[] = {{0, 1}, {1, 1}, {10, 1}, {11, 2}, {34, 2}, {35, 3}, {10 + 24 * 5, 6}, {10 + 24 * 5 + 1, 7}};
    const PageGeometry geometry(report.Definition());
    EXPECT_EQ(geometry.RowsOnFirstPage(), 10);
    EXPECT_EQ(geometry.RowsPerPage(), 24);
    for (const auto& c : cases)
        EXPECT_EQ(geometry.PageCount(c.rows), c.pages) << c.rows << " rows";
}

TEST_F(ReportEngineTest, PagesHoldTheirRowsInStoredOrderAlsoWithGapsInPositions)
{
    for (long long gapEvery : {0LL, 7LL}) {
        auto prepared = ByTime(Table(60, gapEvery));
        ASSERT_EQ(prepared->RowCount(), 60);
        ASSERT_EQ(prepared->PageCount(), 4);  // 10 + 24 + 24 + 2
        const int ch = static_cast<int>(prepared->RowFields().indexOf(QStringLiteral("ch")));
        ASSERT_GE(ch, 0);
        long long expected = 0;
        // Read out of order: a page jump must not depend on the page before.
        for (long long page : {3LL, 0LL, 2LL, 1LL}) {
            const PageRows rows = prepared->ReadPage(page);
            const long long first = PageGeometry(prepared->Definition()).FirstRowOf(page);
            ASSERT_EQ(static_cast<long long>(rows.rows.size()), page == 0 ? 10 : page == 3 ? 2 : 24);
            for (size_t i = 0; i < rows.rows.size(); ++i)
                EXPECT_EQ(rows.rows[i][ch], QStringLiteral("C%1").arg(first + static_cast<long long>(i)))
                    << "gap " << gapEvery << " page " << page;
            expected += static_cast<long long>(rows.rows.size());
        }
        EXPECT_EQ(expected, 60);
    }
}

TEST_F(ReportEngineTest, RowsAppendedAfterPreparationStayOutOfTheReport)
{
    const QString table = Table(12);
    auto prepared = ByTime(table);
    {
        SqlConnection db(table, SqlAccess::Write);
        db.Exec(QStringLiteral("INSERT INTO records (ch, _pos) VALUES ('late', 100)"));
    }
    EXPECT_EQ(prepared->PageCount(), 2);
    EXPECT_EQ(prepared->ReadPage(1).rows.size(), 2u);
}

TEST_F(ReportEngineTest, TableRebuiltUnderAPreparedReportIsRefusedNotPrinted)
{
    // The next report rebuilds the Filter table while an older preview is open.
    const QString table = Table(30);
    auto prepared = ByTime(table);
    ASSERT_EQ(prepared->ReadPage(1).rows.size(), 20u);
    WriteMeasurements(table, 30);
    EXPECT_THROW(prepared->ReadPage(1), VigiloError);
    EXPECT_EQ(ByTime(table)->ReadPage(1).rows.size(), 20u) << "a new preparation reads the new table";
}

TEST_F(ReportEngineTest, HeaderAndRowTextsSitAtTheirPlacesInMillimetres)
{
    auto prepared = ByTime(Table(40));
    const PageDrawing first = LayOutPage(*prepared, 0, prepared->ReadPage(0));
    const PageDrawing second = LayOutPage(*prepared, 1, prepared->ReadPage(1));
    EXPECT_DOUBLE_EQ(first.width, 297.0);
    EXPECT_DOUBLE_EQ(first.height, 210.0);
    const double rows1 = kMargin + kTitle + kColumnTitles;
    const struct {
        const PageDrawing* page;
        const char* name;
        double left;
        double top;
        const char* text;
    } cases[] = {
        {&first, "QRLabel3", 103.9, 4.3, "REPORTING OF MEASURES"},
        {&first, "QRLabel2", 8.7, 27.4, "DATA COMPANY:"},
        {&first, "QRLabel22", 154.9, 27.4, "DATA MEASURES:"},
        {&first, "QRLabelName", 10.1, 41.1, "Name:"},
        {&first, "QRLabelName1", 32.7, 41.1, "<NO DATA>"},
        {&first, "QRLabelWeb", 10.1, 82.0, "Web:"},
        {&first, "QRLabel19", 155.9, 72.9, "Technician´s Name:"},
        {&first, "QRLabelModel1", 192.4, 41.1, "<NO DATA>"},
        {&first, "QRLabelMeasurePoint1", 192.4, 82.0, "<NO DATA>"},
        {&first, "QRLabel23", -1.9, kTitle + 2.6, "REF"},
        {&first, "QRLabel5", 26.7, kTitle + 2.6, "FREQ"},
        {&first, "QRLabel33", 248.2, kTitle + 2.6, "E/W"},
        {&first, "QRDBTextFreq", 26.2, kTitle + kColumnTitles + 1.7, "100"},
        {&first, "QRDBTextLevel", 58.7, kTitle + kColumnTitles + 1.7, "0"},
        {&first, "QRDBTextHour", 179.0, kTitle + kColumnTitles + 1.7, "h0"},
        {&second, "QRLabel5", 26.7, 2.6, "FREQ"},
        {&second, "QRDBTextCh", 11.5, kColumnTitles + 1.7, "C10"},
    };
    for (const auto& c : cases) {
        const PlacedText* text = c.page->Text(QString::fromLatin1(c.name));
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_NEAR(text->left, kMargin + c.left, 1e-9) << c.name;
        EXPECT_NEAR(text->top, kMargin + c.top, 1e-9) << c.name;
        EXPECT_EQ(text->text, QString::fromUtf8(c.text)) << c.name;
    }
    // Rows follow each other 7.5 mm apart; the tenth is the last on page 1.
    int rowTexts = 0;
    for (const PlacedText& text : first.texts)
        if (text.name == QLatin1String("QRDBTextCh")) {
            EXPECT_NEAR(text.top, rows1 + 1.7 + rowTexts * kRow, 1e-9);
            ++rowTexts;
        }
    EXPECT_EQ(rowTexts, 10);
    EXPECT_EQ(second.Text(QStringLiteral("QRLabel3")), nullptr) << "the header prints on the first page only";
    // The title's font and the two boxes.
    EXPECT_EQ(first.Text(QStringLiteral("QRLabel3"))->font, (ReportFont{QStringLiteral("Arial"), 18, true, true}));
    ASSERT_EQ(first.shapes.size(), 2u);
    EXPECT_NEAR(first.shapes[0].left, kMargin + 3.9, 1e-9);
    EXPECT_NEAR(first.shapes[0].width, 119.5 - 3.9, 1e-9);
    EXPECT_NEAR(first.shapes[1].top + first.shapes[1].height, kMargin + 90.6, 1e-9);
    ASSERT_EQ(first.pictures.size(), 1u);
    EXPECT_FALSE(first.pictures[0].image.isNull());
}

TEST_F(ReportEngineTest, HiddenFieldPrintsNothingWhileItsTitlePrints)
{
    report.SetFieldEnabled(QStringLiteral("QRDBTextLBER"), false);
    auto prepared = ByTime(Table(3));
    const PageDrawing page = LayOutPage(*prepared, 0, prepared->ReadPage(0));
    EXPECT_EQ(page.Text(QStringLiteral("QRDBTextLBER")), nullptr);
    EXPECT_EQ(page.Text(QStringLiteral("QRDBTextReference")), nullptr);
    ASSERT_NE(page.Text(QStringLiteral("QRLabel26")), nullptr);
    EXPECT_EQ(page.Text(QStringLiteral("QRLabel26"))->text, QStringLiteral("LBER"));
    EXPECT_FALSE(prepared->RowFields().contains(QStringLiteral("LBER")));
}

TEST_F(ReportEngineTest, FieldBoundToAnotherTablePrintsItsLastRecordOnEveryRow)
{
    const QString positions = Table(5);
    {
        SqlConnection db(positions, SqlAccess::Write);
        db.Exec(QStringLiteral("UPDATE records SET Latitude = 'last' WHERE _pos = 5"));
    }
    report.BindField(QStringLiteral("QRDBTextLatitude"), positions);
    auto prepared = ByTime(Table(3));
    const PageDrawing page = LayOutPage(*prepared, 0, prepared->ReadPage(0));
    int seen = 0;
    for (const PlacedText& text : page.texts)
        if (text.name == QLatin1String("QRDBTextLatitude")) {
            EXPECT_EQ(text.text, QStringLiteral("last"));
            ++seen;
        }
    EXPECT_EQ(seen, 3);
}

TEST_F(ReportEngineTest, ReportWithoutRowsPrintsItsHeader)
{
    auto prepared = ByTime(Table(0));
    ASSERT_EQ(prepared->PageCount(), 1);
    const PageDrawing page = LayOutPage(*prepared, 0, prepared->ReadPage(0));
    EXPECT_NE(page.Text(QStringLiteral("QRLabel3")), nullptr);
    EXPECT_NE(page.Text(QStringLiteral("QRLabel28")), nullptr);
    EXPECT_EQ(page.Text(QStringLiteral("QRDBTextCh")), nullptr);
}

TEST_F(ReportEngineTest, MissingTableOrFieldFailsAtPreparation)
{
    report.SetTable(m_dir.filePath(QStringLiteral("absent.db")));
    EXPECT_THROW(report.Prepare(), VigiloError);
    // The Measurements table has no Reference field: enabled, it cannot bind.
    report.SetTable(Table(2));
    report.SetFieldEnabled(QStringLiteral("QRDBTextReference"), true);
    EXPECT_THROW(report.Prepare(), VigiloError);
    EXPECT_THROW(report.SetLabelText(QStringLiteral("NoSuchLabel"), QString()), VigiloError);
}

TEST_F(ReportEngineTest, HeaderCaptionsFollowTheLanguageWhenBuilt)
{
    const struct {
        Language language;
        const char* title;
        const char* freq;
        const char* technician;
    } cases[] = {
        {Language::Spanish, "INFORME DE MEDIDAS", "FREC", "Nombre del técnico:"},
        {Language::English, "REPORTING OF MEASURES", "FREQ", "Technician\u00b4s Name:"},
        // Another language word keeps the captions of the last build.
        {Language::Other, "REPORTING OF MEASURES", "FREQ", "Technician\u00b4s Name:"},
    };
    for (const auto& c : cases) {
        report.SetHeaderCaptions(c.language);
        EXPECT_EQ(report.LabelText(QStringLiteral("QRLabel3")), QString::fromUtf8(c.title));
        EXPECT_EQ(report.LabelText(QStringLiteral("QRLabel5")), QString::fromUtf8(c.freq));
        EXPECT_EQ(report.LabelText(QStringLiteral("QRLabel19")), QString::fromUtf8(c.technician));
    }
    // Values are not captions: they stay as set.
    EXPECT_EQ(report.LabelText(QStringLiteral("QRLabelModel1")), TAcquiredQReport::NoData());
}

TEST_F(ReportEngineTest, AfterPreviewSavesOnlyWhenTheShownKindMailsIt)
{
    const QString saved = m_dir.filePath(QStringLiteral("R7.qrp"));
    report.saveFolder = [this] { return m_dir.path(); };
    report.SetLabelText(QStringLiteral("QRLabelReportNumber1"), QStringLiteral("R7"));
    ByTime(Table(2));
    const struct {
        const char* type;
        ReportKind switchOn;
        bool saves;
    } cases[] = {
        {"by Time", ReportKind::ByTime, true},
        {"by Time", ReportKind::ByAlarm, false},
        {"by Alarm", ReportKind::ByAlarm, true},
        {"Min/Max/Avg", ReportKind::MinMaxAvg, true},
        {"by Test Point", ReportKind::ByTestPoint, true},
        {"<NO DATA>", ReportKind::ByTime, false},
    };
    for (const auto& c : cases) {
        QFile::remove(saved);
        ReportMailSwitches fresh;
        switches = fresh;
        switches.Set(c.switchOn, true);
        report.SetLabelText(QStringLiteral("QRLabelReportType1"), QString::fromLatin1(c.type));
        report.QuickRepAfterPreview();
        EXPECT_EQ(QFile::exists(saved), c.saves) << c.type;
    }
}
}  // namespace
