// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_tables.h"
#include "support/qt_printers.h"

#include "platform/texts.h"
#include "reports/acquired_report.h"
#include "reports/qrp_file.h"
#include "reports/report_output.h"
#include "workspace/report_kind.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace {
// Golden pages: rendered at this resolution and compared with the stored
// references. VIGILO_UPDATE_GOLDEN=1 writes the references instead.
constexpr double kGoldenDpi = 100.0;
// At most this share of pixels may differ (hinting may move a glyph edge);
// a label moved by 2 mm changes about three times as many.
constexpr double kGoldenTolerance = 0.0004;
const QString kGoldenDir = QStringLiteral(VIGILO_SOURCE_DIR "/tests/unit/reports/golden/");

class ReportOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = m_dir.filePath(QStringLiteral("m.db"));
        WriteMeasurements(table, 40);
        report.SetTable(table);
        report.SetFieldEnabled(QStringLiteral("QRDBTextReference"), false);
        report.SetHeaderCaptions(Language::English);
        report.SetLabelText(QStringLiteral("QRLabelName1"), QStringLiteral("Acme Señal"));
        report.SetLabelText(QStringLiteral("QRLabelReportType1"), QStringLiteral("by Time"));
        report.SetModelName(QStringLiteral("ORBIMETER HD+"));
    }

    QString PdfText(const QString& pdf, int page)
    {
        // poppler-utils is installed by scripts/setup.
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        EXPECT_FALSE(tool.isEmpty()) << "pdftotext is missing";
        QProcess process;
        process.start(tool, {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                             QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir m_dir;
    QString table;
    ReportMailSwitches switches;
    TAcquiredQReport report{switches};
};

// The share of pixels whose grey differs by more than a quarter of the range.
double DifferingShare(const QImage& a, const QImage& b)
{
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
    long long differing = 0;
    for (int y = 0; y < ga.height(); ++y) {
        const uchar* la = ga.constScanLine(y);
        const uchar* lb = gb.constScanLine(y);
        for (int x = 0; x < ga.width(); ++x)
            if (std::abs(int(la[x]) - int(lb[x])) > 64)
                ++differing;
    }
    return static_cast<double>(differing) / (static_cast<double>(ga.width()) * ga.height());
}

TEST_F(ReportOutputTest, HeaderPageAndRowPageMatchTheirGoldenImages)
{
    auto prepared = report.Prepare();
    for (long long page : {0LL, 1LL}) {
        const QImage image = RenderPageImage(*prepared, page, kGoldenDpi);
        const QString reference = kGoldenDir + QStringLiteral("by_time_page%1.png").arg(page + 1);
        if (qEnvironmentVariableIsSet("VIGILO_UPDATE_GOLDEN")) {
            ASSERT_TRUE(image.save(reference));
            continue;
        }
        const QImage golden(reference);
        ASSERT_FALSE(golden.isNull()) << reference.toStdString();
        ASSERT_EQ(image.size(), golden.size());
        EXPECT_LT(DifferingShare(image, golden), kGoldenTolerance) << "page " << page + 1;
    }
}

// A saved report keeps its bytes: a change of the format that does not come
// with a new version number would make older files read wrongly. The same
// file seeds the saved-report fuzz target, beside one without rows and a
// truncated one; VIGILO_UPDATE_GOLDEN=1 rewrites them all.
TEST_F(ReportOutputTest, SavedReportKeepsTheFormatOfVersionOne)
{
    const QString corpus = QStringLiteral(VIGILO_SOURCE_DIR "/fuzz/corpus/qrp_file/");
    const QString small = m_dir.filePath(QStringLiteral("small.db"));
    WriteMeasurements(small, 12);
    report.SetTable(small);
    const QString saved = m_dir.filePath(QStringLiteral("two_pages.qrp"));
    ASSERT_EQ(SaveQrp(*report.Prepare(), saved, Language::English), OutputResult::Done);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (qEnvironmentVariableIsSet("VIGILO_UPDATE_GOLDEN")) {
        QDir().mkpath(corpus);
        const auto write = [&corpus](const char* name, const QByteArray& content) {
            QFile out(corpus + QString::fromLatin1(name));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(content);
        };
        write("two_pages.qrp", bytes);
        write("truncated.qrp", bytes.chopped(100));
        QFile reference(kGoldenDir + QStringLiteral("two_pages.qrp"));
        ASSERT_TRUE(reference.open(QIODevice::WriteOnly));
        reference.write(bytes);
        const QString none = m_dir.filePath(QStringLiteral("none.db"));
        WriteMeasurements(none, 0);
        report.SetTable(none);
        ASSERT_EQ(SaveQrp(*report.Prepare(), corpus + QStringLiteral("no_rows.qrp"), Language::English),
                  OutputResult::Done);
        return;
    }
    QFile stored(kGoldenDir + QStringLiteral("two_pages.qrp"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_TRUE(stored.readAll() == bytes) << "the .qrp format changed: give it a new version";
}

TEST_F(ReportOutputTest, GoldenComparisonSeesAMovedText)
{
    // The tolerance must not swallow a real fault: a label 2 mm off.
    auto prepared = report.Prepare();
    const QImage before = RenderPageImage(*prepared, 0, kGoldenDpi);
    ReportDefinition moved = prepared->Definition();
    moved.Label(QStringLiteral("QRLabel2"))->left += 2.0;
    auto shifted = PrepareReport(moved);
    EXPECT_GT(DifferingShare(before, RenderPageImage(*shifted, 0, kGoldenDpi)), kGoldenTolerance);
}

TEST_F(ReportOutputTest, PdfHasOnePagePerReportPageWithSearchableText)
{
    const QString pdf = m_dir.filePath(QStringLiteral("r.pdf"));
    ASSERT_EQ(report.ExportPdf(pdf), OutputResult::Done);
    const QString page1 = PdfText(pdf, 1);
    for (const char* expected : {"REPORTING OF MEASURES", "DATA COMPANY:", "Technician\u00b4s Name:", "Acme Señal",
                                 "ORBIMETER HD+", "by Time", "FREQ", "C9"})
        EXPECT_TRUE(page1.contains(QString::fromUtf8(expected))) << expected << "\n" << page1.toStdString();
    EXPECT_FALSE(page1.contains(QStringLiteral("C10"))) << "row 11 belongs to page 2";
    const QString page3 = PdfText(pdf, 3);
    EXPECT_TRUE(page3.contains(QStringLiteral("C39")));
    EXPECT_FALSE(page3.contains(QStringLiteral("REPORTING"))) << "the header prints on the first page only";
    EXPECT_TRUE(PdfText(pdf, 4).trimmed().isEmpty()) << "40 rows make three pages";
}

TEST_F(ReportOutputTest, PdfRangeAndCancelLeaveNoHalfFile)
{
    const QString pdf = m_dir.filePath(QStringLiteral("r.pdf"));
    auto prepared = report.Prepare();
    EXPECT_EQ(ExportPdf(*prepared, pdf, {}, [](long long done, long long) { return done < 2; }),
              OutputResult::Cancelled);
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(ExportPdf(*prepared, pdf, PageRange{1, 1}), OutputResult::Done);
    const QString text = PdfText(pdf, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("C10")));
    EXPECT_TRUE(PdfText(pdf, 2).trimmed().isEmpty());
}
}  // namespace
