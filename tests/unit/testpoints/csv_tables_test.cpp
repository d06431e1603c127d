// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/vocabulary.h"
#include "platform/errors.h"
#include "support/temp_folder.h"
#include "testpoints/csv_tables.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class CsvTablesTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = folder.File(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    TempProgramFolder folder;
};

TEST_F(CsvTablesTest, ImportTakesAnySubsetOfFieldsInAnyOrder)
{
    const QString csv = Write(QStringLiteral("tp.csv"),
                              "FREQ;ch;type;index;minLV;band\r\n"
                              "474,25;E21;DVB-T/H;99;40,5;TER;\r\n"
                              "\r\n"
                              "11766;11766V;DVB-S;;;SAT\r\n");
    const QString target = folder.File(QStringLiteral("set.db"));
    EXPECT_EQ(ImportTestPointsCsv(csv, target), 2);

    Dataset set(QString(), target);
    set.Open();
    ASSERT_EQ(set.RecordCount(), 2);
    EXPECT_EQ(set.Fields().size(), 31u);
    EXPECT_EQ(set.Text(QStringLiteral("index")), QStringLiteral("1"));  // the file's 99 is not used
    EXPECT_EQ(set.Text(QStringLiteral("freq")), QStringLiteral("474.25"));  // tuning numbers get "."
    EXPECT_EQ(set.Number(QStringLiteral("minLV")), 40.5);
    EXPECT_EQ(set.Text(QStringLiteral("alarm")), QStringLiteral("OFF"));
    EXPECT_EQ(set.Text(QStringLiteral("maxCBER")), QStringLiteral("OFF"));
    set.Next();
    EXPECT_EQ(set.Text(QStringLiteral("index")), QStringLiteral("2"));
    EXPECT_EQ(set.Text(QStringLiteral("ch")), QStringLiteral("11766V"));
    EXPECT_EQ(set.Number(QStringLiteral("minLV")), 0.0);
    EXPECT_TRUE(set.Text(QStringLiteral("layer")).isEmpty());
}

TEST_F(CsvTablesTest, BadInputNamesLineAndFieldAndWritesNothing)
{
    struct Case {
        const char* csv;
        const char* message;
    };
    const Case cases[] = {
        {"ch;colour\nE21;red\n", "line 1: unknown field 'colour'"},
        {"ch;CH\nE21;E22\n", "line 1: field 'ch' appears twice"},
        {"ch;minLV\nE21;1\nE22;high\n", "line 3, field 'minLV': 'high' is not a number"},
        {"ch;maxLV\nE21;inf\n", "line 2, field 'maxLV': 'inf' is not a number"},
        {"ch;freq\nE21;nan\n", "line 2, field 'freq': 'nan' is not a number"},
        {"ch;freq\nCHANNEL21;474\n", "line 2, field 'ch': 'CHANNEL21' is longer than 8 characters"},
        {"ch;type\nE21;DVB-X\n", "line 2, field 'type': 'DVB-X' is not one of"},
        {"ch;carrier\nE21;16K\n", "line 2, field 'carrier': '16K' is not one of 8K, 2K, 4K"},
        {"ch;system\nE21;pal bg\n", "line 2, field 'system': 'pal bg' is not one of"},
        {"ch;freq\nE21\n", "line 2: 1 values for 2 fields"},
        {"ch;freq\nE21;474 MHz\n", "line 2, field 'freq': '474 MHz' is not a number"},
    };
    const QString target = folder.File(QStringLiteral("existing.db"));
    Dataset existing(QString(), target);
    existing.CreateTable(TestPointFields());
    existing.Open();
    existing.Append();
    existing.SetText(QStringLiteral("ch"), QStringLiteral("KEEP"));
    existing.Close();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv);
        const QString csv = Write(QStringLiteral("bad.csv"), c.csv);
        try {
            ImportTestPointsCsv(csv, target);
            ADD_FAILURE() << "import accepted bad input";
        } catch (const VigiloError& error) {
            EXPECT_TRUE(error.Text().startsWith(QString::fromUtf8(c.message))) << qPrintable(error.Text());
        }
        existing.Open();
        EXPECT_EQ(existing.RecordCount(), 1);
        EXPECT_EQ(existing.Text(QStringLiteral("ch")), QStringLiteral("KEEP"));
        existing.Close();
        EXPECT_EQ(QDir(folder.Path()).entryList({QStringLiteral("*.importing*")}, QDir::Files).size(), 0);
    }
}

// Every value the tuning vocabulary knows is accepted, and fits its field.
TEST_F(CsvTablesTest, ImportAcceptsEveryKnownValue)
{
    using vocabulary::Kind;
    const Kind kinds[] = {Kind::Type,     Kind::System,        Kind::Band,    Kind::Lnb,         Kind::Modulation,
                          Kind::CodeRate, Kind::GuardInterval, Kind::Carrier, Kind::InvSpectral, Kind::Layer};
    QStringList header{QStringLiteral("ch")};
    qsizetype rows = 0;
    for (Kind kind : kinds) {
        header.append(QString::fromLatin1(vocabulary::FieldOf(kind)));
        rows = std::max(rows, vocabulary::KnownValues(kind).size());
    }
    QByteArray csv = header.join(QLatin1Char(';')).toUtf8() + '\n';
    for (qsizetype r = 0; r < rows; ++r) {
        QStringList line{QStringLiteral("R%1").arg(r)};
        for (Kind kind : kinds) {
            const QStringList known = vocabulary::KnownValues(kind);
            line.append(known[r % known.size()]);
        }
        csv += line.join(QLatin1Char(';')).toUtf8() + '\n';
    }
    const QString target = folder.File(QStringLiteral("all.db"));
    ASSERT_EQ(ImportTestPointsCsv(Write(QStringLiteral("all.csv"), csv), target), rows);
    Dataset set(QString(), target);
    set.Open();
    for (qsizetype r = 0; r < rows; ++r, set.Next()) {
        for (Kind kind : kinds) {
            const QStringList known = vocabulary::KnownValues(kind);
            EXPECT_EQ(set.Text(QString::fromLatin1(vocabulary::FieldOf(kind))), known[r % known.size()]);
        }
    }
}

TEST_F(CsvTablesTest, ErrorsAreWordedInTheCurrentLanguage)
{
    struct Case {
        Language language;
        const char* message;
    };
    const Case cases[] = {
        {Language::English, "line 2, field 'minLV': 'high' is not a number"},
        {Language::Spanish, "línea 2, campo 'minLV': 'high' no es un número"},
        // No language chosen: an error still has to be readable.
        {Language::Other, "line 2, field 'minLV': 'high' is not a number"},
    };
    const QString csv = Write(QStringLiteral("bad.csv"), "ch;minLV\nE21;high\n");
    for (const Case& c : cases) {
        try {
            ImportTestPointsCsv(csv, folder.File(QStringLiteral("set.db")), c.language);
            ADD_FAILURE() << "import accepted bad input";
        } catch (const VigiloError& error) {
            EXPECT_EQ(error.Text(), QString::fromUtf8(c.message));
        }
    }
    try {
        ImportTestPointsCsv(Write(QStringLiteral("field.csv"), "ch;colour\n"), folder.File(QStringLiteral("set.db")),
                            Language::Spanish);
        ADD_FAILURE() << "import accepted an unknown field";
    } catch (const VigiloError& error) {
        EXPECT_EQ(error.Text(), QString::fromUtf8("línea 1: campo desconocido 'colour'"));
    }
}

// The supplied plan sources build into tables with the fields the plan
// windows read, with frequencies that agree with the channel arithmetic.
TEST_F(CsvTablesTest, SuppliedPlansCarryTheFieldsThatAreRead)
{
    const QString sources = QStringLiteral(VIGILO_SOURCE_DIR "/data/plans/");
    const QStringList terrestrial{QStringLiteral("europe_vhf_uhf"), QStringLiteral("dab_band_iii"),
                                  QStringLiteral("north_america_6mhz"), QStringLiteral("isdbt_6mhz"),
                                  QStringLiteral("dtmb_8mhz")};
    for (const QString& name : terrestrial) {
        SCOPED_TRACE(qPrintable(name));
        const QString table = folder.File(name + QStringLiteral(".db"));
        BuildPlanTable(sources + name + QStringLiteral(".csv"), table);
        Dataset plan(QString(), table);
        plan.Open();
        EXPECT_GT(plan.RecordCount(), 20);
        for (const char* field : {"ch", "analog freq", "digital freq", "channel spacing", "plan"})
            EXPECT_TRUE(plan.HasField(QString::fromLatin1(field))) << field;
        for (; !plan.Eof(); plan.Next()) {
            const double digital = plan.Number(QStringLiteral("digital freq"));
            const double analog = plan.Number(QStringLiteral("analog freq"));
            EXPECT_GT(digital, 40.0);
            EXPECT_LT(digital, 870.0);
            EXPECT_LE(analog, digital);
            EXPECT_LE(plan.Text(QStringLiteral("ch")).size(), 8);
        }
    }
    Dataset dab(QString(), folder.File(QStringLiteral("dab_band_iii.db")));
    dab.Open();
    EXPECT_EQ(dab.Text(QStringLiteral("plan")), QStringLiteral("DAB"));
    Dataset europe(QString(), folder.File(QStringLiteral("europe_vhf_uhf.db")));
    europe.Open();
    europe.SetFilter(QStringLiteral("ch='21'"));
    europe.SetFiltered(true);
    EXPECT_EQ(europe.Number(QStringLiteral("digital freq")), 474.0);
    EXPECT_EQ(europe.Text(QStringLiteral("analog freq")), QStringLiteral("471,25"));

    const QString sat = folder.File(QStringLiteral("13E_HOTBIRD.db"));
    BuildPlanTable(sources + QStringLiteral("13E_HOTBIRD.csv"), sat);
    Dataset plan(QString(), sat);
    plan.Open();
    EXPECT_GE(plan.RecordCount(), 20);
    for (; !plan.Eof(); plan.Next()) {
        const double downlink = plan.Number(QStringLiteral("freq LNB"));
        const bool high = downlink >= 11700;
        EXPECT_EQ(plan.Number(QStringLiteral("freq")), downlink - (high ? 10600 : 9750));
        EXPECT_EQ(plan.Text(QStringLiteral("lnb")).endsWith(QStringLiteral("22khz")), high);
        EXPECT_TRUE(plan.Text(QStringLiteral("type")).startsWith(QStringLiteral("DVB-S")));
        EXPECT_FALSE(plan.Text(QStringLiteral("invspec")).isEmpty());
        EXPECT_FALSE(plan.Text(QStringLiteral("modulation")).isEmpty());
    }
}

}  // namespace
