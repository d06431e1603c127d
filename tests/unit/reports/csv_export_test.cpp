// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_tables.h"

#include "platform/errors.h"
#include "reports/csv_export.h"
#include "support/qt_printers.h"
#include "testpoints/field_values.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QByteArray kHeader =
    "index;ch;layer;freq;system;type;bw;lnb;symbol rate;code rate;guard interval;inv.spectral;band;LEVEL;C/N;"
    "V/A;DESV FM;MER;CBER;VBER;LBER;Date;Hour;Latitude;N/S;Longitude;E/W;warning;\r\n";

QByteArray Bytes(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(CsvExport, AnEmptyTableGivesTheHeaderOnly)
{
    ReportTables tables;
    const QString target = tables.Path(QStringLiteral("out.csv"));
    WriteTableCsv(tables.MeasurementsFile(), target);
    EXPECT_EQ(Bytes(target), kHeader);
}

TEST(CsvExport, RecordsInStoredOrderWithEmptyFieldsEmptyAndNumbersInGeneralForm)
{
    ReportTables tables;
    tables.AddAcquisition(3, "DVB-C", "DVB-C", "TER",
                          {{"LEVEL", "-45.5"}, {"C/N", "30.25"}, {"MER", "33"}, {"VBER", "2.0E-8"},
                           {"Date", "01/02/2026"}, {"Hour", "10:00:00"}});
    // A ";" in a text is written as it is, and a character outside the
    // single-byte code page becomes "?".
    tables.AddAcquisition(1, "Analog", "FM", "TER",
                          {{"LEVEL", "60"}, {"ch", QStringLiteral("Ñ;1€")}, {"warning", "YES"}});
    const QString target = tables.Path(QStringLiteral("out.csv"));
    WriteTableCsv(tables.MeasurementsFile(), target);
    EXPECT_EQ(Bytes(target), kHeader +
                                 "3;C3;;403.00;DVB-C;DVB-C;;;;;;;TER;-45.5;30.25;;;33;;2.0E-8;;01/02/2026;10:00:00;"
                                 ";;;;NO;\r\n"
                                 "1;\xD1;1?;;401.00;FM;Analog;;;;;;;TER;60;;;;;;;;;;;;;;YES;\r\n");
}

// The export formats numbers without the table engine; it must write what
// the engine shows.
TEST(CsvExport, NumbersReadAsTheTableEngineShowsThem)
{
    const std::vector<double> values{0.1 + 0.2, 1e20, 1e15, 123456789012345.0, 1e-5, 0.0001, -0.0,
                                     2.5e-300, 51.25, -45.3, 1.0 / 3.0, 9.999999999999999e14};
    ReportTables tables;
    for (const double v : values) {
        tables.measurements.Append();
        tables.measurements.SetNumber(QStringLiteral("LEVEL"), v);
        tables.measurements.Post();
    }
    const QString target = tables.Path(QStringLiteral("out.csv"));
    WriteTableCsv(tables.MeasurementsFile(), target);
    const QList<QByteArray> lines = Bytes(target).split('\n');
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(values.size()) + 2);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(lines[static_cast<qsizetype>(i) + 1].split(';')[13], NumberText(values[i]).toLatin1());
}

TEST(CsvExport, AFailureLeavesTheTargetAsItWasAndNoTemporaryFile)
{
    ReportTables tables;
    const QString target = tables.Path(QStringLiteral("out.csv"));
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    EXPECT_THROW(WriteTableCsv(tables.Path(QStringLiteral("missing.db")), target), VigiloError);
    // A target in a folder that does not exist.
    EXPECT_THROW(WriteTableCsv(tables.MeasurementsFile(), tables.Path(QStringLiteral("no/such/out.csv"))),
                 VigiloError);
    EXPECT_EQ(Bytes(target), QByteArray("old"));
    const QStringList left = QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files);
    EXPECT_EQ(left.filter(QStringLiteral("out")), QStringList{QStringLiteral("out.csv")});
}

}  // namespace
