// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/vocabulary.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

using namespace vocabulary;

QStringList List(std::initializer_list<const char*> values)
{
    QStringList list;
    for (const char* v : values)
        list.append(QString::fromUtf8(v));
    return list;
}

struct ListCase {
    const char* name;
    Kind kind;
    Context context;
    QStringList expected;
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << c.name;
}

class EditorLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(EditorLists, OfferTheValuesOfTheContextInOrder)
{
    const ListCase& c = GetParam();
    EXPECT_EQ(Values(c.kind, c.context), c.expected) << c.name;
}

const QStringList kEuropeanSystems = List({"Pal BG", "Pal DK", "Pal I", "Pal M", "Pal N", "Secam L", "Secam BG",
                                           "Secam DK", "NTSC M", "FM"});

INSTANTIATE_TEST_SUITE_P(
    ByBandModelTypeAndModulation, EditorLists,
    ::testing::Values(
        ListCase{"types TER no analyser", Kind::Type, {{}, "TER", -1, {}}, List({"Analog"})},
        ListCase{"types TER model 4", Kind::Type, {{}, "TER", 4, {}}, List({"Analog", "DVB-C", "J-83", "8-VSB"})},
        ListCase{"types TER model 0", Kind::Type, {{}, "TER", 0, {}}, List({"Analog", "DVB-C", "DVB-T/H"})},
        ListCase{"types TER model 7", Kind::Type, {{}, "TER", 7, {}},
                 List({"Analog", "DVB-C", "DVB-T/H", "DVB-T2"})},
        ListCase{"types TER model 11", Kind::Type, {{}, "TER", 11, {}},
                 List({"Analog", "DVB-C", "J-83", "ISDB-T"})},
        ListCase{"types TER model 12", Kind::Type, {{}, "TER", 12, {}}, List({"Analog", "DVB-C", "J-83", "DTMB"})},
        ListCase{"types SAT no analyser", Kind::Type, {{}, "SAT", -1, {}}, List({"DVB-S", "DVB-S2", "Analog"})},
        ListCase{"types SAT model 12", Kind::Type, {{}, "SAT", 12, {}},
                 List({"DVB-S", "DVB-S2", "Analog", "DSS"})},
        ListCase{"types other band", Kind::Type, {{}, "CAB", 4, {}}, QStringList()},
        ListCase{"systems model 0", Kind::System, {"Analog", "TER", 0, {}}, kEuropeanSystems},
        ListCase{"systems model 9", Kind::System, {"Analog", "TER", 9, {}}, List({"NTSC M", "FM"})},
        ListCase{"systems model 11", Kind::System, {"Analog", "TER", 11, {}}, List({"NTSC M", "Pal M", "FM"})},
        ListCase{"systems no analyser", Kind::System, {"Analog", "TER", -1, {}}, QStringList()},
        ListCase{"modulations DVB-C", Kind::Modulation, {"DVB-C", {}, {}, {}},
                 List({"16QAM", "32QAM", "64QAM", "128QAM", "256QAM"})},
        ListCase{"modulations J-83", Kind::Modulation, {"J-83", {}, {}, {}}, List({"64QAM", "256QAM"})},
        ListCase{"modulations DVB-S2", Kind::Modulation, {"DVB-S2", {}, {}, {}}, List({"QPSK", "8PSK"})},
        ListCase{"modulations DVB-T/H", Kind::Modulation, {"DVB-T/H", {}, {}, {}}, QStringList()},
        ListCase{"code rates DVB-S", Kind::CodeRate, {"DVB-S", {}, {}, "QPSK"},
                 List({"1/2", "2/3", "3/4", "5/6", "7/8"})},
        ListCase{"code rates DVB-S2 QPSK", Kind::CodeRate, {"DVB-S2", {}, {}, "QPSK"},
                 List({"1/2", "2/3", "3/4", "5/6", "3/5", "4/5", "8/9", "9/10", "1/4", "1/3", "2/5"})},
        ListCase{"code rates DVB-S2 8PSK", Kind::CodeRate, {"DVB-S2", {}, {}, "8PSK"},
                 List({"2/3", "3/5", "9/10", "8/9", "5/6", "3/4"})},
        ListCase{"code rates DSS", Kind::CodeRate, {"DSS", {}, {}, {}}, List({"1/2", "2/3"})},
        ListCase{"carriers ISDB-T", Kind::Carrier, {"ISDB-T", {}, {}, {}}, List({"8K", "2K", "4K"})},
        ListCase{"guard intervals", Kind::GuardInterval, {"DVB-T/H", {}, {}, {}},
                 List({"1/4", "1/8", "1/16", "1/32"})},
        ListCase{"bandwidths DVB-T/H", Kind::Bandwidth, {"DVB-T/H", {}, {}, {}}, List({"6", "7", "8"})},
        ListCase{"bandwidth J-83", Kind::Bandwidth, {"J-83", {}, {}, {}}, List({"6"})},
        ListCase{"bandwidth DSS", Kind::Bandwidth, {"DSS", {}, {}, {}}, List({"27"})},
        ListCase{"LNB terrestrial", Kind::Lnb, {"DVB-C", "TER", {}, {}}, List({"External"})},
        ListCase{"LNB satellite", Kind::Lnb, {"DVB-S", "SAT", {}, {}},
                 List({"External", "13v", "18v", "13v22khz", "18v22khz"})},
        ListCase{"layers ISDB-T", Kind::Layer, {"ISDB-T", {}, {}, {}}, List({"A", "B", "C"})},
        ListCase{"layers DVB-T/H", Kind::Layer, {"DVB-T/H", {}, {}, {}}, QStringList()},
        ListCase{"unknown type", Kind::GuardInterval, {"DVB-X", {}, {}, {}}, QStringList()}));

struct CodeCase {
    Kind kind;
    Standard standard;
    const char* value;
    std::optional<int> expected;
};

TEST(AnalyserCodes, ComeFromTheStandardsEncoding)
{
    const CodeCase cases[] = {
        {Kind::CodeRate, Standard::DvbS2, "9/10", 12},
        {Kind::CodeRate, Standard::DvbS2, "6/7", 5},    // known, though not offered
        {Kind::CodeRate, Standard::DvbS, "6/7", std::nullopt},
        {Kind::CodeRate, Standard::DvbS, "5/6", 4},
        {Kind::Modulation, Standard::DvbC, "256QAM", 7},
        {Kind::Modulation, Standard::DvbS2, "8PSK", 9},
        {Kind::Modulation, Standard::DvbS2, "16QAM", std::nullopt},
        {Kind::System, Standard::Analog, "Secam L", 0x16},
        {Kind::System, Standard::Analog, "Pal M", 0x04},
        {Kind::System, Standard::Analog, "FM", std::nullopt},
        {Kind::System, Standard::Analog, "pal bg", std::nullopt},  // exact case only
        {Kind::Lnb, Standard::DvbS, "18v22khz", 7},
        {Kind::Carrier, Standard::DvbTH, "4K", 2},
        {Kind::GuardInterval, Standard::IsdbT, "1/16", 2},
        {Kind::GuardInterval, Standard::DvbC, "1/16", std::nullopt},
        {Kind::InvSpectral, Standard::DvbC, "OFF", 0},
        {Kind::Layer, Standard::IsdbT, "A", std::nullopt},  // the letter itself is sent
        {Kind::Type, Standard::IsdbT, "ISDB-T", 0xA},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(AnalyserCode(c.kind, c.standard, QString::fromUtf8(c.value)), c.expected) << c.value;
}

TEST(Standards, TypeTextsSelectCommandsAndReadyCodesAgree)
{
    for (Standard standard : kStandards) {
        const QString type = QString::fromLatin1(TypeText(standard));
        SCOPED_TRACE(qPrintable(type));
        EXPECT_EQ(StandardOfType(type), standard);
        // The type list and the tuners must select the same standard.
        EXPECT_EQ(AnalyserCode(Kind::Type, standard, type), CodesOf(standard).standardCode);
    }
    EXPECT_EQ(StandardOfType(QStringLiteral("dvb-c")), std::nullopt);

    struct Case {
        Standard standard;
        const char* system;
        const char* select;
        int ready;
        int otherReady;
    };
    const Case cases[] = {
        {Standard::DvbTH, "", "*SA1", 1, 2},
        {Standard::Vsb8, "", "*SA5", 3, kNoCode},
        {Standard::IsdbT, "", "*SAA", 0xA, kNoCode},
        {Standard::Dtmb, "", "*SAB", kNoCode, kNoCode},
        {Standard::Analog, "Pal BG", "*SA0", kNoCode, kNoCode},
        {Standard::Analog, "FM", "*SA8", kNoCode, kNoCode},
    };
    for (const Case& c : cases) {
        const StandardCodes codes = CodesOf(c.standard, QString::fromLatin1(c.system));
        EXPECT_EQ(SelectCommand(codes.standardCode), QByteArray(c.select));
        EXPECT_EQ(codes.readyCode, c.ready) << c.select;
        EXPECT_EQ(codes.otherReadyCode, c.otherReady) << c.select;
    }
}

TEST(KnownValues, IncludeWhatTheEditorDoesNotOfferEachOnce)
{
    EXPECT_EQ(KnownValues(Kind::CodeRate).size(), 13);
    EXPECT_TRUE(KnownValues(Kind::CodeRate).contains(QStringLiteral("7/8")));
    EXPECT_FALSE(Values(Kind::CodeRate, Context{QStringLiteral("DVB-S2"), {}, {}, QStringLiteral("QPSK")})
                     .contains(QStringLiteral("7/8")));
    EXPECT_EQ(KnownValues(Kind::Type).count(QStringLiteral("Analog")), 1);
    EXPECT_EQ(KnownValues(Kind::Type).size(), 11);
    EXPECT_TRUE(IsKnown(Kind::System, QStringLiteral("Satellite")));
    EXPECT_FALSE(Values(Kind::System).contains(QStringLiteral("Satellite")));
    EXPECT_FALSE(IsKnown(Kind::Carrier, QStringLiteral("16K")));
    EXPECT_EQ(KindOfField(QStringLiteral("g.interval")), Kind::GuardInterval);
    EXPECT_EQ(KindOfField(QStringLiteral("ch")), std::nullopt);
}

}  // namespace
