// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/measurement_readout.h"
#include "tuning_scripted_analyser.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

namespace {

TEST(ReplyParsers, ReadTheIntegerAfterFiveCharacters)
{
    EXPECT_EQ(ReplyInteger("*?LV 573", 5), 573);
    EXPECT_EQ(ReplyInteger("*?LV -12dB", 5), -12);
    EXPECT_EQ(ReplyInteger("*?LV   +7", 5), 7);
    EXPECT_EQ(ReplyInteger("*?LV", 5), 0);
    EXPECT_EQ(ReplyInteger("*?LV x12", 5), 0);
    EXPECT_DOUBLE_EQ(ScaledReading("*?LV 573"), 57.3);
    EXPECT_DOUBLE_EQ(ScaledReading("*?ME 0"), 0.0);
    EXPECT_DOUBLE_EQ(ScaledReading("*?CN -35"), -3.5);
}

TEST(ReplyParsers, BerTextHasOneDigitBeforeThePoint)
{
    const std::vector<std::pair<QByteArray, QString>> cases{
        {"*?CB 23E-6", "2.3E-5"}, {"*?VB 10E-9", "1.0E-8"}, {"*?VB 99E-3", "9.9E-2"},
        {"*?CB 50E+0", "5.0E1"},  {"*?VB 12", "1.2E1"},     {"*?VB", "0.0E1"},
    };
    for (const auto& [reply, text] : cases)
        EXPECT_EQ(BerReading(reply), text) << reply.constData();
}

TEST(ReplyParsers, BerTextKeepsThePointUnderADecimalCommaLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "es_ES.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const QString text = BerReading("*?CB 23E-6");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "2.3E-5");
}

class Readout : public ::testing::Test {
protected:
    VirtualClock clock;
    ScriptedAnalyser analyser{clock};
    bool stop = false;
    InstrumentSession session{analyser, clock, [this] { return stop; }};
    MeasurementValues values;

    void SetUp() override
    {
        analyser.replies = {{"*?LV", "*?LV 573"}, {"*?CN", "*?CN 281"}, {"*?VA", "*?VA 120"},
                            {"*?FM", "*?FM 75"},  {"*?ME", "*?ME 312"}, {"*?CB", "*?CB 23E-6"},
                            {"*?VB", "*?VB 10E-9"}, {"*?SE", "*?SE 45E-4"}};
    }

    static TestPoint Point(const char* type, const char* system = "", const char* band = "TER",
                           const char* plan = "")
    {
        TestPoint tp;
        tp.type = QString::fromLatin1(type);
        tp.system = QString::fromLatin1(system);
        tp.band = QString::fromLatin1(band);
        tp.plan = QString::fromLatin1(plan);
        return tp;
    }

    QStringList Fields() const
    {
        QStringList names;
        for (const auto& entry : values.Entries())
            names << entry.field;
        return names;
    }
};

struct TypeCase {
    const char* type;
    const char* system;
    const char* band;
    const char* plan;
    QStringList queries;
    QStringList fields;
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
    *os << c.type << " " << c.system << " " << c.band << " " << c.plan;
}

class QueriesPerType : public Readout, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(QueriesPerType, AsksTheTypesQueriesAndFillsOnlyItsFields)
{
    const TypeCase& c = GetParam();
    ReadMeasurements(session, Point(c.type, c.system, c.band, c.plan), false, values);
    EXPECT_EQ(analyser.Queries(), c.queries);
    QStringList fields = Fields();
    fields.sort();
    QStringList expected = c.fields;
    expected.sort();
    EXPECT_EQ(fields, expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, QueriesPerType,
    ::testing::Values(
        TypeCase{"Analog", "Pal BG", "TER", "", {"*?LV", "*?CN", "*?VA", "*?FM"}, {"LEVEL", "C/N", "V/A", "DESV FM"}},
        TypeCase{"Analog", "FM", "TER", "", {"*?LV", "*?FM"}, {"LEVEL", "DESV FM"}},
        TypeCase{"Analog", "Secam L", "TER", "", {"*?LV", "*?CN", "*?VA"}, {"LEVEL", "C/N", "V/A"}},
        TypeCase{"Analog", "Pal BG", "SAT", "", {"*?LV", "*?CN"}, {"LEVEL", "C/N"}},
        TypeCase{"Analog", "FM", "SAT", "", {"*?LV"}, {"LEVEL"}},
        TypeCase{"DVB-C", "", "TER", "CCIR", {"*?LV", "*?CN", "*?ME", "*?VB"}, {"LEVEL", "C/N", "MER", "VBER"}},
        TypeCase{"DVB-C", "", "TER", "DAB", {"*?LV", "*?CN"}, {"LEVEL", "C/N", "MER", "VBER"}},
        TypeCase{"J-83", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?VB"}, {"LEVEL", "C/N", "MER", "VBER"}},
        TypeCase{"DVB-T/H", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        TypeCase{"ISDB-T", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        TypeCase{"DVB-S", "", "SAT", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        TypeCase{"DSS", "", "SAT", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        TypeCase{"8-VSB", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?SE", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "VBER"}},
        TypeCase{"DVB-T2", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "LBER"}},
        TypeCase{"DVB-S2", "", "SAT", "", {"*?LV", "*?CN", "*?ME", "*?CB", "*?VB"},
                 {"LEVEL", "C/N", "MER", "CBER", "LBER"}},
        TypeCase{"DTMB", "", "TER", "", {"*?LV", "*?CN", "*?ME", "*?VB"}, {"LEVEL", "C/N", "MER", "LBER"}},
        TypeCase{"DVB-T", "", "TER", "", {}, {}}));

TEST_F(Readout, StoresScaledNumbersDeviationAndBerTexts)
{
    ReadMeasurements(session, Point("Analog", "Pal BG"), false, values);
    EXPECT_DOUBLE_EQ(values.Number("LEVEL").value_or(0), 57.3);
    EXPECT_DOUBLE_EQ(values.Number("C/N").value_or(0), 28.1);
    EXPECT_DOUBLE_EQ(values.Number("V/A").value_or(0), 12.0);
    EXPECT_EQ(values.Number("DESV FM"), 75.0);

    values = {};
    ReadMeasurements(session, Point("8-VSB"), false, values);
    EXPECT_DOUBLE_EQ(values.Number("MER").value_or(0), 31.2);
    EXPECT_EQ(values.Text("CBER"), "4.5E-3");
    EXPECT_EQ(values.Text("VBER"), "1.0E-8");
}

TEST_F(Readout, DabRowOfDvbCStoresZeroMerAndVber)
{
    ReadMeasurements(session, Point("DVB-C", "", "TER", "DAB"), false, values);
    EXPECT_EQ(values.Number("MER"), 0.0);
    EXPECT_EQ(values.Text("VBER"), "0");
}

TEST_F(Readout, DvbT2ErrorRateAfterViterbiGoesToLber)
{
    ReadMeasurements(session, Point("DVB-T2"), false, values);
    EXPECT_EQ(values.Text("LBER"), "1.0E-8");
    EXPECT_FALSE(values.Has("VBER"));
}

TEST_F(Readout, QueryWithoutReplyStoresZeroAndTheNextQueryFollows)
{
    analyser.replies.erase("*?CN");
    analyser.replies.erase("*?CB");
    ReadMeasurements(session, Point("DVB-T/H"), false, values);
    EXPECT_EQ(values.Number("C/N"), 0.0);
    EXPECT_EQ(values.Text("CBER"), "0");
    EXPECT_DOUBLE_EQ(values.Number("MER").value_or(0), 31.2);
    EXPECT_EQ(values.Text("VBER"), "1.0E-8");
}

TEST_F(Readout, SettlingWaitOnlyAfterTuningAndNotCutByStop)
{
    ReadMeasurements(session, Point("DVB-S"), false, values);
    EXPECT_EQ(analyser.Lines().front().atMs, 100);

    analyser.Clear();
    const qint64 start = clock.ElapsedMs();
    clock.At(1000, [this] { stop = true; });
    ReadMeasurements(session, Point("DVB-S"), true, values);
    EXPECT_EQ(analyser.Lines().front().atMs, start + 5000 + 100);

    analyser.Clear();
    const qint64 analogStart = clock.ElapsedMs();
    ReadMeasurements(session, Point("Analog", "FM"), true, values);
    EXPECT_EQ(analyser.Lines().front().atMs, analogStart + 4000 + 100);

    const qint64 before = clock.ElapsedMs();
    ReadMeasurements(session, Point("unknown"), true, values);
    EXPECT_EQ(clock.ElapsedMs(), before);
}

TEST_F(Readout, DerivesThresholdsFromEachDecodedValueBeforeItIsStored)
{
    // An automatic pass with a tolerance of 2 dB, as the run's deriver does.
    struct Band {
        Quantity quantity;
        double min, max;
        bool storedAlready;
    };
    std::vector<Band> bands;
    analyser.replies.erase("*?ME");
    ReadMeasurements(session, Point("DVB-T/H"), false, values, [&](Quantity q, double value) {
        bands.push_back({q, value - 2, 2 + value, values.Has(q == Quantity::Level ? "LEVEL" : "C/N")});
    });
    ASSERT_EQ(bands.size(), 2u);  // no reply to "*?ME": no threshold from a missing value
    EXPECT_EQ(bands[0].quantity, Quantity::Level);
    EXPECT_DOUBLE_EQ(bands[0].min, 55.3);
    EXPECT_DOUBLE_EQ(bands[0].max, 59.3);
    EXPECT_FALSE(bands[0].storedAlready);
    EXPECT_EQ(bands[1].quantity, Quantity::CN);
    EXPECT_DOUBLE_EQ(bands[1].min, 28.1 - 2);
}

TEST_F(Readout, AnalogueDerivesVaButNeverTheDeviation)
{
    std::vector<Quantity> seen;
    ReadMeasurements(session, Point("Analog", "Pal BG"), false, values,
                     [&](Quantity q, double) { seen.push_back(q); });
    EXPECT_EQ(seen, (std::vector<Quantity>{Quantity::Level, Quantity::CN,
                                                   Quantity::VA}));
}

}  // namespace
