// SPDX-License-Identifier: GPL-3.0-or-later
// vigilo-report on a Measurements table that vigilo-station stored against
// vigilo-analyser-sim: the Filter table's rows, the PDF's text, the CSV bytes
// and the failures a script must tell apart.

#include "support/qt_printers.h"
#include "support/sim_process.h"
#include "support/smtp_server.h"
#include "support/temp_folder.h"
#include "testpoints/dataset.h"
#include "testpoints/sql_statement.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

namespace {
const QString kBin = QStringLiteral(VIGILO_PROGRAM_DIR);
constexpr char kDvbt[] = "21;474;;DVB-T/H;8;;;;;1/4;OFF;8K;CCIR;TER;;OFF\n";

struct ToolResult {
    int exitCode = -1;
    QString output;
    QString errors;
};

ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(kBin + QLatin1Char('/') + program, arguments);
    ToolResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << program.toStdString() << " did not end in time";
        return result;
    }
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

// Every row of a table, its fields' texts in field order.
std::vector<QStringList> Rows(const QString& path)
{
    std::vector<QStringList> rows;
    Dataset table(QString(), path);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList texts;
        for (const QString& name : table.FieldNames())
            texts.append(table.Text(name));
        rows.push_back(texts);
    }
    return rows;
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReportTool : public testing::Test {
public:
    // One station run of two loops over three standards, shared by the tests.
    static void SetUpTestSuite()
    {
        s_folder = new TempProgramFolder;
        SimProcess sim(s_folder->Path(), {"--com", "6", "--settling", "100"});
        ASSERT_TRUE(sim.Ready()) << sim.Output().toStdString();
        {
            QFile file(s_folder->File("three.csv"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("ch;freq;system;type;bw;lnb;symbol rate;modulation;code rate;g.interval;inv.spectral;carrier;"
                       "plan;band;layer;alarm\n");
            file.write(kDvbt);
            file.write("S21;306;;DVB-C;8;;6900;64QAM;;;OFF;;CCIR;TER;;OFF\n"
                       "FM;98.5;FM;Analog;;;;;;;;;;TER;;OFF\n");
        }
        const ToolResult station =
            RunTool(QStringLiteral("vigilo-station"),
                {SimProcess::kStationPortsOnly, "--folder", s_folder->Path(), "--import-testpoints",
                 s_folder->File("three.csv"), "--measurements", Measurements(), "--port", "COM6", "--loops", "2"},
                240000);
        ASSERT_EQ(station.exitCode, 0) << station.errors.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = nullptr;
    }

    static QString Measurements() { return s_folder->File("run.db"); }
    static QString TestPoints() { return s_folder->File("three.db"); }
    static QString FilterTable() { return s_folder->File("Database/Filter/Filter.db"); }

    static TempProgramFolder* s_folder;
};
TempProgramFolder* ReportTool::s_folder = nullptr;

void MinMaxAvgFillsTheFilterTableAndWritesThePdfAndTheQrp()
{
    TempProgramFolder* s_folder = ReportTool::s_folder;
    [[maybe_unused]] const auto Measurements = &ReportTool::Measurements;
    [[maybe_unused]] const auto TestPoints = &ReportTool::TestPoints;
    [[maybe_unused]] const auto FilterTable = &ReportTool::FilterTable;
    const auto stored = Rows(Measurements());
    ASSERT_EQ(stored.size(), 6U);
    const QString pdf = s_folder->File("mma.pdf");
    const QString qrp = s_folder->File("mma.qrp");
    const ToolResult result =
        RunTool(QStringLiteral("vigilo-report"), {"--folder", s_folder->Path(), "--measurements", Measurements(),
                                              "--testpoints", TestPoints(), "--kind", "min-max-avg", "--pdf", pdf,
                                              "--qrp", qrp, "--report-number", "17"});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

    // Filter rows: index|Reference|ch|freq|type|LEVEL|C/N|V/A|DESV FM|MER|CBER|VBER|LBER|Hour|Date|position.
    const auto filter = Rows(FilterTable());
    ASSERT_EQ(filter.size(), 12U);
    const QStringList references{"MIN", "MAX", "AVG", "--------"};
    for (size_t i = 0; i < filter.size(); ++i)
        EXPECT_EQ(filter[i][1], references[static_cast<qsizetype>(i % 4)]);
    // The DVB-T/H test point's LEVEL over its two acquisitions (rows 1 and 4 of the run).
    const double a = stored[0][13].toDouble();
    const double b = stored[3][13].toDouble();
    EXPECT_EQ(filter[0][5], QString::number(std::min(a, b), 'g', 15));
    EXPECT_EQ(filter[1][5], QString::number(std::max(a, b), 'g', 15));
    EXPECT_EQ(filter[0][2], QStringLiteral("21"));
    EXPECT_FALSE(filter[0][10].isEmpty());  // CBER of DVB-T/H
    EXPECT_TRUE(filter[4][10].isEmpty());   // none for DVB-C
    EXPECT_FALSE(filter[4][11].isEmpty());  // its VBER
    EXPECT_EQ(filter[8][4], QStringLiteral("Analog"));
    EXPECT_TRUE(filter[8][6].isEmpty());    // FM radio: no C/N
    EXPECT_FALSE(filter[8][8].isEmpty());   // but its deviation

    EXPECT_TRUE(Bytes(qrp).size() > 0);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QString& expected : {QStringLiteral("Min/Max/Avg"), QStringLiteral("REF"), QStringLiteral("MIN"),
                                    QStringLiteral("MAX"), QStringLiteral("AVG"), QStringLiteral("17"), filter[2][5]})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " not in:\n" << text.toStdString();
}

void ByTestPointCopiesEveryAcquisitionGroupedByTestPoint()
{
    TempProgramFolder* s_folder = ReportTool::s_folder;
    [[maybe_unused]] const auto Measurements = &ReportTool::Measurements;
    [[maybe_unused]] const auto TestPoints = &ReportTool::TestPoints;
    [[maybe_unused]] const auto FilterTable = &ReportTool::FilterTable;
    const ToolResult result =
        RunTool(QStringLiteral("vigilo-report"), {"--folder", s_folder->Path(), "--measurements", Measurements(),
                                              "--testpoints", TestPoints(), "--kind", "by-test-point"});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const auto stored = Rows(Measurements());
    const auto filter = Rows(FilterTable());
    ASSERT_EQ(filter.size(), 6U);
    // Stored rows 0, 3 (first test point), 1, 4, 2, 5: ch and LEVEL.
    const int order[] = {0, 3, 1, 4, 2, 5};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(filter[i][2], stored[static_cast<size_t>(order[i])][1]);
        EXPECT_EQ(filter[i][5], stored[static_cast<size_t>(order[i])][13].left(6));
    }
}

void CsvIsTheStoredTextOfEveryField()
{
    TempProgramFolder* s_folder = ReportTool::s_folder;
    [[maybe_unused]] const auto Measurements = &ReportTool::Measurements;
    [[maybe_unused]] const auto TestPoints = &ReportTool::TestPoints;
    [[maybe_unused]] const auto FilterTable = &ReportTool::FilterTable;
    const QString csv = s_folder->File("run.csv");
    const ToolResult result = RunTool(QStringLiteral("vigilo-report"),
                                  {"--folder", s_folder->Path(), "--measurements", Measurements(), "--csv", csv});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    Dataset table(QString(), Measurements());
    table.Open();
    QByteArray expected;
    for (const QString& name : table.FieldNames())
        expected += name.toLatin1() + ';';
    expected += "\r\n";
    for (const QStringList& row : Rows(Measurements())) {
        for (const QString& text : row)
            expected += text.toLatin1() + ';';
        expected += "\r\n";
    }
    EXPECT_EQ(Bytes(csv), expected);
}

void MisuseAndMismatchEndWithTheirOwnStatus()
{
    TempProgramFolder* s_folder = ReportTool::s_folder;
    [[maybe_unused]] const auto Measurements = &ReportTool::Measurements;
    [[maybe_unused]] const auto TestPoints = &ReportTool::TestPoints;
    [[maybe_unused]] const auto FilterTable = &ReportTool::FilterTable;
    const QStringList base{"--folder", s_folder->Path(), "--measurements", Measurements()};
    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const std::vector<Case> cases{
        {base, 2, "give either --kind or --csv"},
        {base + QStringList{"--kind", "by-time", "--csv", s_folder->File("x.csv")}, 2, "give either --kind or --csv"},
        {base + QStringList{"--kind", "weekly"}, 2, "--kind must be"},
        {base + QStringList{"--kind", "by-alarm"}, 2, "give --testpoints"},
        {base + QStringList{"--csv", s_folder->File("x.csv"), "--pdf", "y.pdf"}, 2, "belongs to a report"},
        {base + QStringList{"--kind", "by-time", "--language", "french"}, 2, "--language must be"},
        {{"--folder", s_folder->File("nowhere"), "--measurements", Measurements(), "--kind", "by-time"}, 2,
         "no such folder"},
        {{"--folder", s_folder->Path(), "--measurements", s_folder->File("none.db"), "--kind", "by-time"}, 2,
         "no such Measurements table"},
    };
    for (const Case& c : cases) {
        const ToolResult result = RunTool(QStringLiteral("vigilo-report"), c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.errors.contains(c.message)) << result.errors.toStdString();
    }

    // Two acquisitions against three test points.
    const QString shorter = s_folder->File("short.db");
    ASSERT_TRUE(QFile::copy(Measurements(), shorter));
    {
        SqlConnection db(shorter, SqlAccess::Write);
        db.Exec(QStringLiteral("DELETE FROM records WHERE _pos > (SELECT _pos FROM records ORDER BY _pos LIMIT 1 OFFSET 1)"));
    }
    const ToolResult mismatch =
        RunTool(QStringLiteral("vigilo-report"), {"--folder", s_folder->Path(), "--measurements", shorter, "--testpoints",
                                              TestPoints(), "--kind", "min-max-avg", "--language", "spanish"});
    EXPECT_EQ(mismatch.exitCode, 4);
    EXPECT_TRUE(mismatch.errors.contains(QStringLiteral("Adquisiciones mínimas no completadas")))
        << mismatch.errors.toStdString();
}

// --mail saves the report under SaveReports and mails the .qrp with its PDF
// through the folder's mail settings, as the command does with its switch on.
void MailSavesAndMailsTheReportWithItsPdf()
{
    TempProgramFolder* s_folder = ReportTool::s_folder;
    SmtpServer server;
    {
        QStringList lines(26);
        lines[0] = QStringLiteral("english");
        lines[13] = QStringLiteral("first@example.org");
        lines[17] = QStringLiteral("station@example.org");
        lines[20] = server.Host();
        lines[21] = QStringLiteral("1");
        lines[22] = QStringLiteral("true");
        lines[23] = QStringLiteral("false");
        QFile file(s_folder->File("config.cfg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }
    const ToolResult mailed = RunTool(QStringLiteral("vigilo-report"),
                                      {"--folder", s_folder->Path(), "--measurements", ReportTool::Measurements(), "--kind",
                                       "by-time", "--report-number", "R7", "--mail"});
    QFile::remove(s_folder->File("config.cfg"));
    EXPECT_EQ(mailed.exitCode, 0) << mailed.errors.toStdString();
    const QString qrp = s_folder->File("Database/SaveReports/R7_byTime.qrp");
    EXPECT_TRUE(mailed.output.contains(QStringLiteral("mail: sent"))) << mailed.output.toStdString();
    const auto received = server.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["subject"].toString(), "Report of measures of the Vigilo");
    const QJsonArray attachments = received[0]["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments[0]["filename"].toString(), "R7_byTime.qrp");
    EXPECT_EQ(QByteArray::fromBase64(attachments[0]["data"].toString().toLatin1()), Bytes(qrp));
    EXPECT_EQ(attachments[1]["type"].toString(), "application/pdf");
}

// One station run (about a minute) serves every check.
TEST_F(ReportTool, OnATableTheStationStored)
{
    ASSERT_TRUE(s_folder);
    {
        SCOPED_TRACE("MinMaxAvgFillsTheFilterTableAndWritesThePdfAndTheQrp");
        MinMaxAvgFillsTheFilterTableAndWritesThePdfAndTheQrp();
    }
    {
        SCOPED_TRACE("ByTestPointCopiesEveryAcquisitionGroupedByTestPoint");
        ByTestPointCopiesEveryAcquisitionGroupedByTestPoint();
    }
    {
        SCOPED_TRACE("CsvIsTheStoredTextOfEveryField");
        CsvIsTheStoredTextOfEveryField();
    }
    {
        SCOPED_TRACE("MailSavesAndMailsTheReportWithItsPdf");
        MailSavesAndMailsTheReportWithItsPdf();
    }
    {
        SCOPED_TRACE("MisuseAndMismatchEndWithTheirOwnStatus");
        MisuseAndMismatchEndWithTheirOwnStatus();
    }
}
}  // namespace
