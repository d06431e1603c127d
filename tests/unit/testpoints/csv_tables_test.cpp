#include "platform/errors.h"
#include "support/temp_folder.h"
#include "testpoints/csv_tables.h"
#include "testpoints/dataset.h"
#include "testpoints/table_layouts.h"

#include <QDir>
#include <QFile>
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
