// SPDX-License-Identifier: GPL-3.0-or-later
// The test point editor's rules: lists per band, analyser, type and
// modulation; the set-up each type applies; the checks of "Insert".
#include "platform/errors.h"
#include "testpoints/test_point_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace tprules;

namespace {
QStringList List(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

// ---- Lists -------------------------------------------------------------------------

struct TypeListCase {
    const char* band;
    std::vector<int> models;  // every model code of one row of the table
    QStringList expected;
};

TEST(EditorLists, TypesFollowBandAndEveryModelCode)
{
    const QStringList satellite = List({"DVB-S", "DVB-S2", "Analog"});
    const TypeListCase cases[] = {
        {"TER", {4, 5, 9, 10}, List({"Analog", "DVB-C", "J-83", "8-VSB"})},
        {"TER", {0, 1, 2, 3}, List({"Analog", "DVB-C", "DVB-T/H"})},
        {"TER", {6, 7, 8}, List({"Analog", "DVB-C", "DVB-T/H", "DVB-T2"})},
        {"TER", {11}, List({"Analog", "DVB-C", "J-83", "ISDB-T"})},
        {"TER", {12}, List({"Analog", "DVB-C", "J-83", "DTMB"})},
        {"TER", {-1}, List({"Analog"})},
        {"SAT", {4, 5, 9, 10, 12}, satellite + List({"DSS"})},
        {"SAT", {-1, 0, 1, 2, 3, 6, 7, 8, 11}, satellite},
        {"", {-1, 0, 12}, {}},
        {"ter", {0}, {}},
    };
    for (const TypeListCase& c : cases)
        for (int model : c.models)
            EXPECT_EQ(TypeList(QLatin1String(c.band), model), c.expected) << c.band << " model " << model;
}

TEST(EditorLists, ModulationsAndCodeRatesFollowTypeAndModulation)
{
    EXPECT_EQ(ModulationList(QStringLiteral("DVB-S")), List({"QPSK"}));
    EXPECT_EQ(ModulationList(QStringLiteral("DVB-S2")), List({"QPSK", "8PSK"}));
    EXPECT_EQ(ModulationList(QStringLiteral("DVB-C")), List({"16QAM", "32QAM", "64QAM", "128QAM", "256QAM"}));
    EXPECT_EQ(ModulationList(QStringLiteral("J-83")), List({"64QAM", "256QAM"}));
    for (const char* type : {"Analog", "DVB-T/H", "DSS", "", "Foo"})
        EXPECT_TRUE(ModulationList(QLatin1String(type)).isEmpty()) << type;

    const struct {
        const char* type;
        const char* modulation;
        QStringList expected;
    } cases[] = {
        {"DVB-S", "", List({"1/2", "2/3", "3/4", "5/6", "7/8"})},
        {"DVB-S2", "QPSK", List({"1/2", "2/3", "3/4", "5/6", "3/5", "4/5", "8/9", "9/10", "1/4", "1/3", "2/5"})},
        {"DVB-S2", "8PSK", List({"2/3", "3/5", "9/10", "8/9", "5/6", "3/4"})},
        // "6/7" has no code in the encoding the DSS tuner uses: never offered.
        {"DSS", "", List({"1/2", "2/3"})},
        {"DVB-S2", "", {}},
        {"DVB-S2", "64QAM", {}},
        {"DVB-C", "64QAM", {}},
        {"", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeRateList(QLatin1String(c.type), QLatin1String(c.modulation)), c.expected)
            << c.type << " " << c.modulation;
}

TEST(EditorLists, AnalogueSystemsFollowTheModelCode)
{
    const QStringList european =
        List({"Pal BG", "Pal DK", "Pal I", "Pal M", "Pal N", "Secam L", "Secam BG", "Secam DK", "NTSC M"});
    for (int model : {0, 1, 2, 3, 6, 7, 8, 12}) {
        EXPECT_EQ(SystemList(model), european + List({"FM"})) << model;
        EXPECT_EQ(PlanAnalogSystems(model), european) << model;
    }
    for (int model : {4, 5, 9, 10}) {
        EXPECT_EQ(SystemList(model), List({"NTSC M", "FM"})) << model;
        EXPECT_EQ(PlanAnalogSystems(model), List({"NTSC M"})) << model;
    }
    EXPECT_EQ(SystemList(11), List({"NTSC M", "Pal M", "FM"}));
    EXPECT_EQ(PlanAnalogSystems(11), List({"Pal M", "NTSC M"}));
    for (int model : {-1, 13}) {
        EXPECT_EQ(SystemList(model), std::nullopt) << model;
        EXPECT_TRUE(PlanAnalogSystems(model).isEmpty()) << model;
    }
}

// ---- Set-ups -----------------------------------------------------------------------

// One column of the set-up table: "on", "off", "-" (disabled, emptied),
// "on-" (enabled, emptied) or "=value" (disabled, set).
ControlSetup Column(const std::string& cell)
{
    if (cell == "on")
        return {true, false, nullptr};
    if (cell == "off")
        return {false, false, nullptr};
    if (cell == "-")
        return {false, true, nullptr};
    if (cell == "on-")
        return {true, true, nullptr};
    return {false, false, cell.c_str() + 1};
}

TEST(EditorSetups, EveryTypeSetsEveryControlAsTheTableSays)
{
    // Symbol rate, system, modulation, carriers, BW, code rate, inversion,
    // guard interval, LNB, layer.
    const struct {
        const char* type;
        const char* band;
        std::vector<std::string> columns;
    } cases[] = {
        {"DVB-C", "TER", {"on", "-", "on", "-", "-", "-", "on", "-", "=External", "-"}},
        {"J-83", "TER", {"off", "-", "on", "-", "=6", "-", "on", "-", "=External", "-"}},
        {"DVB-T/H", "TER", {"-", "-", "-", "on", "on", "-", "on", "on", "=External", "-"}},
        {"DVB-T2", "TER", {"-", "-", "-", "-", "on", "-", "on", "-", "=External", "-"}},
        {"8-VSB", "TER", {"-", "-", "-", "-", "=6", "-", "on", "-", "=External", "-"}},
        {"ISDB-T", "TER", {"-", "-", "-", "on", "=6", "-", "on", "on", "=External", "on"}},
        {"DTMB", "TER", {"-", "-", "-", "off", "=8", "-", "off", "off", "=External", "off"}},
        {"DVB-S", "SAT", {"on", "-", "-", "-", "-", "on-", "on", "-", "on", "-"}},
        {"DVB-S2", "SAT", {"on", "-", "on", "-", "-", "on-", "on", "-", "on", "-"}},
        {"DSS", "SAT", {"=20000", "-", "-", "-", "=27", "on-", "on", "-", "on", "-"}},
        {"Analog", "TER", {"-", "on", "-", "-", "on", "-", "-", "-", "=External", "-"}},
        {"Analog", "SAT", {"-", "-", "-", "-", "on", "-", "-", "-", "on", "-"}},
        {"", "TER", {"off", "off", "off", "off", "off", "off", "off", "off", "off", "off"}},
    };
    for (const auto& c : cases) {
        const auto setup = SetupOfType(QLatin1String(c.type), QLatin1String(c.band));
        ASSERT_TRUE(setup) << c.type;
        EXPECT_EQ(setup->emptyType, *c.type == '\0') << c.type;
        for (int i = 0; i < kControlCount; ++i) {
            const ControlSetup expected = Column(c.columns[static_cast<size_t>(i)]);
            const ControlSetup& actual = setup->Of(kControls[i]);
            EXPECT_EQ(actual.enabled, expected.enabled) << c.type << " " << c.band << " column " << i;
            EXPECT_EQ(actual.emptied, expected.emptied) << c.type << " " << c.band << " column " << i;
            EXPECT_EQ(QLatin1String(actual.value ? actual.value : ""), QLatin1String(expected.value ? expected.value : ""))
                << c.type << " " << c.band << " column " << i;
        }
    }
    // A type outside the table, or Analog on no known band, leaves the controls alone.
    EXPECT_FALSE(SetupOfType(QStringLiteral("PAL"), QStringLiteral("TER")));
    EXPECT_FALSE(SetupOfType(QStringLiteral("Analog"), QString()));
}

// ---- Validation --------------------------------------------------------------------

// A test point of each type that passes every check; cases change one or
// more values of it.
EditorValues Valid(const char* type)
{
    EditorValues v;
    v.type = QLatin1String(type);
    v.invSpectral = QStringLiteral("OFF");
    const QString t = v.type;
    if (t == QLatin1String("DVB-S") || t == QLatin1String("DVB-S2") || t == QLatin1String("DSS") ||
        t == QLatin1String("SAT Analog")) {
        v.band = QStringLiteral("SAT");
        v.freq = QStringLiteral("1200");
        v.symbolRate = QStringLiteral("27500");
        v.modulation = QStringLiteral("8PSK");
        v.codeRate = QStringLiteral("3/4");
        v.lnb = QStringLiteral("13v");
        v.bandwidth = QStringLiteral("27");
        if (t == QLatin1String("SAT Analog"))
            v.type = QStringLiteral("Analog");
        return v;
    }
    v.band = QStringLiteral("TER");
    v.freq = QStringLiteral("474");
    v.symbolRate = QStringLiteral("6875");
    v.modulation = QStringLiteral("64QAM");
    v.bandwidth = QStringLiteral("8");
    v.guardInterval = QStringLiteral("1/4");
    v.carrier = QStringLiteral("8K");
    v.system = QStringLiteral("Pal BG");
    return v;
}

struct ValidationCase {
    const char* name;
    const char* type;
    std::function<void(EditorValues&)> change;
    bool pass;
    const char* message;
};

TEST(ValidateTestPoint, EveryCheckRangeAndMessageFirstFailureWins)
{
    const auto set = [](QString EditorValues::*field, const char* text) {
        return [field, text](EditorValues& v) { v.*field = QLatin1String(text); };
    };
    const auto none = [](EditorValues&) {};
    using V = EditorValues;
    const ValidationCase cases[] = {
        // Every type as given passes.
        {"DVB-C", "DVB-C", none, true, ""},
        {"J-83", "J-83", none, true, ""},
        {"DVB-T/H", "DVB-T/H", none, true, ""},
        {"DVB-T2", "DVB-T2", none, true, ""},
        {"8-VSB", "8-VSB", none, true, ""},
        {"ISDB-T", "ISDB-T", none, true, ""},
        {"Analog TER", "Analog", none, true, ""},
        {"DVB-S", "DVB-S", none, true, ""},
        {"DVB-S2", "DVB-S2", none, true, ""},
        {"DSS", "DSS", none, true, ""},
        {"Analog SAT", "SAT Analog", none, true, ""},
        // DTMB checks the frequency only.
        {"DTMB with nothing else", "DTMB",
         [](V& v) { v = V{}; v.band = QStringLiteral("TER"); v.type = QStringLiteral("DTMB"); v.freq = QStringLiteral("600"); },
         true, ""},

        // Frequency borders of both bands.
        {"TER freq empty", "DVB-T2", set(&V::freq, ""), false, "ERROR: FRQ"},
        {"TER freq 5", "DVB-T2", set(&V::freq, "5"), true, ""},
        {"TER freq 1000", "DVB-T2", set(&V::freq, "1000"), true, ""},
        {"TER freq 4.9", "DVB-T2", set(&V::freq, "4.9"), false, "FRQ min = 5"},
        {"TER freq 1000.1", "DVB-T2", set(&V::freq, "1000.1"), false, "FRQ max = 1000"},
        {"SAT freq 950", "DSS", set(&V::freq, "950"), true, ""},
        {"SAT freq 2150", "DSS", set(&V::freq, "2150"), true, ""},
        {"SAT freq 949.9", "DSS", set(&V::freq, "949.9"), false, "FRQ min = 950"},
        {"SAT freq 2150.5", "DSS", set(&V::freq, "2150.5"), false, "FRQ max = 2150"},

        // Symbol rate borders: cable and satellite.
        {"DVB-C sr empty", "DVB-C", set(&V::symbolRate, ""), false, "ERROR: Symbol Rate"},
        {"DVB-C sr 870", "DVB-C", set(&V::symbolRate, "870"), true, ""},
        {"DVB-C sr 7200", "DVB-C", set(&V::symbolRate, "7200"), true, ""},
        {"DVB-C sr 869", "DVB-C", set(&V::symbolRate, "869"), false, "S.Rate min = 870"},
        {"DVB-C sr 7201", "DVB-C", set(&V::symbolRate, "7201"), false, "S.Rate max = 7200"},
        {"DVB-S sr 1000", "DVB-S", set(&V::symbolRate, "1000"), true, ""},
        {"DVB-S sr 45000", "DVB-S", set(&V::symbolRate, "45000"), true, ""},
        {"DVB-S sr 999", "DVB-S", set(&V::symbolRate, "999"), false, "S.Rate min = 1000"},
        {"DVB-S2 sr 45001", "DVB-S2", set(&V::symbolRate, "45001"), false, "S.Rate max = 45000"},
        {"DVB-S2 sr empty", "DVB-S2", set(&V::symbolRate, ""), false, "ERROR: Symbol Rate"},
        // J-83 and DSS do not read the symbol rate.
        {"J-83 sr empty", "J-83", set(&V::symbolRate, ""), true, ""},
        {"DSS sr empty", "DSS", set(&V::symbolRate, ""), true, ""},

        // Bandwidths.
        {"DVB-T/H bw 6.0", "DVB-T/H", set(&V::bandwidth, "6.0"), true, ""},
        {"DVB-T/H bw 7", "DVB-T/H", set(&V::bandwidth, "7"), true, ""},
        {"DVB-T/H bw 6.5", "DVB-T/H", set(&V::bandwidth, "6.5"), false, "ERROR: BW"},
        {"Analog TER bw empty", "Analog", set(&V::bandwidth, ""), false, "ERROR: BW"},
        {"Analog TER bw 5", "Analog", set(&V::bandwidth, "5"), false, "ERROR: BW"},
        {"Analog SAT bw 1.2", "SAT Analog", set(&V::bandwidth, "1.2"), true, ""},
        {"Analog SAT bw 60.75", "SAT Analog", set(&V::bandwidth, "60.75"), true, ""},
        {"Analog SAT bw 1.19", "SAT Analog", set(&V::bandwidth, "1.19"), false, "BW min = 1.20"},
        {"Analog SAT bw 60.8", "SAT Analog", set(&V::bandwidth, "60.8"), false, "BW max = 60.75"},
        {"Analog SAT bw empty", "SAT Analog", set(&V::bandwidth, ""), false, "ERROR: BW"},

        // The other checks, each with its message.
        {"inversion empty", "DVB-T2", set(&V::invSpectral, ""), false, "ERROR: Inv. Spectral"},
        {"inversion lower case", "8-VSB", set(&V::invSpectral, "on"), false, "ERROR: Inv. Spectral"},
        {"DSS inversion", "DSS", set(&V::invSpectral, "1"), false, "ERROR: Inv. Spectral"},
        {"J-83 modulation", "J-83", set(&V::modulation, ""), false, "ERROR: Modulation"},
        {"DVB-S2 modulation", "DVB-S2", set(&V::modulation, ""), false, "ERROR: Modulation"},
        {"DVB-T/H guard", "DVB-T/H", set(&V::guardInterval, ""), false, "ERROR: G.Interval"},
        {"ISDB-T guard", "ISDB-T", set(&V::guardInterval, ""), false, "ERROR: G.Interval"},
        {"ISDB-T carriers", "ISDB-T", set(&V::carrier, ""), false, "ERROR: Carriers/Portadoras"},
        {"DVB-T/H carriers", "DVB-T/H", set(&V::carrier, ""), false, "ERROR: Carriers/Portadoras"},
        {"Analog system", "Analog", set(&V::system, ""), false, "ERROR: System/Sistema"},
        {"DVB-S code rate", "DVB-S", set(&V::codeRate, ""), false, "ERROR: Code Rate"},
        {"DSS code rate", "DSS", set(&V::codeRate, ""), false, "ERROR: Code Rate"},
        {"DVB-S lnb", "DVB-S", set(&V::lnb, ""), false, "ERROR: LNB"},
        {"Analog SAT lnb", "SAT Analog", set(&V::lnb, ""), false, "ERROR: LNB"},

        // First failure wins.
        {"freq before all", "DVB-C",
         [](V& v) { v.freq.clear(); v.invSpectral.clear(); v.modulation.clear(); v.symbolRate.clear(); }, false,
         "ERROR: FRQ"},
        {"DVB-C inversion, modulation, rate", "DVB-C",
         [](V& v) { v.invSpectral.clear(); v.modulation.clear(); v.symbolRate.clear(); }, false,
         "ERROR: Inv. Spectral"},
        {"DVB-C modulation before rate", "DVB-C", [](V& v) { v.modulation.clear(); v.symbolRate = QStringLiteral("1"); },
         false, "ERROR: Modulation"},
        {"DVB-T/H bw first", "DVB-T/H",
         [](V& v) { v.bandwidth = QStringLiteral("5"); v.invSpectral.clear(); v.carrier.clear(); }, false, "ERROR: BW"},
        {"DVB-T/H guard before carriers", "DVB-T/H", [](V& v) { v.guardInterval.clear(); v.carrier.clear(); }, false,
         "ERROR: G.Interval"},
        {"DVB-S2 rate before modulation", "DVB-S2", [](V& v) { v.symbolRate = QStringLiteral("50000"); v.modulation.clear(); },
         false, "S.Rate max = 45000"},
        {"DVB-S2 code rate before lnb", "DVB-S2", [](V& v) { v.codeRate.clear(); v.lnb.clear(); }, false,
         "ERROR: Code Rate"},
        {"Analog bw before system", "Analog", [](V& v) { v.bandwidth.clear(); v.system.clear(); }, false, "ERROR: BW"},

        // Silent failures: a band or type the station does not know.
        {"no band", "DVB-T2", set(&V::band, ""), false, ""},
        {"band in lower case", "DVB-T2", set(&V::band, "ter"), false, ""},
        {"unknown type", "DVB-T2", set(&V::type, "PAL"), false, ""},
        {"empty type", "DVB-T2", set(&V::type, ""), false, ""},
        {"satellite type on TER", "DVB-T2", set(&V::type, "DVB-S"), false, ""},
        {"terrestrial type on SAT", "DVB-S", set(&V::type, "DVB-T2"), false, ""},
    };
    for (const ValidationCase& c : cases) {
        EditorValues v = Valid(c.type);
        c.change(v);
        const Validation result = ValidateTestPoint(v);
        EXPECT_EQ(result.pass, c.pass) << c.name;
        EXPECT_EQ(result.message, QLatin1String(c.message)) << c.name;
    }
}

TEST(ValidateTestPoint, CableStoresItsOccupiedBandwidth)
{
    const struct {
        const char* symbolRate;
        const char* bandwidth;
    } cases[] = {{"6875", "7.91"}, {"870", "1.00"}, {"7200", "8.28"}, {"5057", "5.82"}};
    for (const auto& c : cases) {
        EditorValues v = Valid("DVB-C");
        v.symbolRate = QLatin1String(c.symbolRate);
        const Validation result = ValidateTestPoint(v);
        ASSERT_TRUE(result.pass) << c.symbolRate;
        EXPECT_EQ(result.occupiedBandwidth, QLatin1String(c.bandwidth)) << c.symbolRate;
    }
    // Only a passing cable channel gets one.
    EditorValues failing = Valid("DVB-C");
    failing.modulation.clear();
    EXPECT_TRUE(ValidateTestPoint(failing).occupiedBandwidth.isEmpty());
    EXPECT_TRUE(ValidateTestPoint(Valid("J-83")).occupiedBandwidth.isEmpty());
}

// A number the checks read that is not a number stops them with the
// conversion error; nothing is judged on a value that was never read.
TEST(ValidateTestPoint, TextsThatAreNotNumbersRaiseTheConversionError)
{
    const struct {
        const char* type;
        QString EditorValues::*field;
        const char* text;
    } cases[] = {
        {"DVB-T2", &EditorValues::freq, "1.2.3"},
        {"DVB-T2", &EditorValues::freq, "nan"},
        {"DSS", &EditorValues::freq, "inf"},
        {"DVB-C", &EditorValues::symbolRate, "68.75"},
        {"DVB-S", &EditorValues::symbolRate, "27500x"},
        {"DVB-T/H", &EditorValues::bandwidth, "8.."},
        {"SAT Analog", &EditorValues::bandwidth, "."},
    };
    for (const auto& c : cases) {
        EditorValues v = Valid(c.type);
        v.*c.field = QLatin1String(c.text);
        try {
            ValidateTestPoint(v);
            ADD_FAILURE() << c.text << " was read as a number";
        } catch (const VigiloError& error) {
            EXPECT_TRUE(error.Text().contains(QLatin1String(c.text))) << error.Text().toStdString();
        }
    }
    // A value the type's checks do not read is not converted.
    EditorValues dtmb = Valid("DTMB");
    dtmb.bandwidth = QStringLiteral("8..");
    dtmb.symbolRate = QStringLiteral("x");
    EXPECT_TRUE(ValidateTestPoint(dtmb).pass);
}

}  // namespace
