// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/exploration_block.h"
#include "testpoints/exploration_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {
using I = ExplorationItem;
using Fields = std::map<std::string, std::string>;

// The fields one record sets, as the row will hold them before the import's
// own defaults.
Fields FieldsOf(const DecodedChannel& channel)
{
    Fields fields;
    for (const auto& [name, text] : channel.fields)
        fields[name] = text.toStdString();
    return fields;
}

DecodedChannel DecodeOne(const ExplorationChannel& record)
{
    const DecodedExploration decoded = DecodeExplorationBlock(EncodeExplorationBlock({record}));
    EXPECT_TRUE(decoded.markerFound);
    EXPECT_EQ(decoded.channels.size(), 1u);
    return decoded.channels.empty() ? DecodedChannel{} : decoded.channels.front();
}

struct ItemCase {
    const char* name;
    ExplorationChannel record;
    Fields expected;
};

const std::string kF1 = "182.25";
const ItemCase kItemCases[] = {
    {"PalBG", {"E6", 182250, 0, {I::Code(1, 1, 1)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Pal BG"}}},
    {"PalDK", {"E6", 182250, 0, {I::Code(1, 1, 2)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Pal DK"}}},
    {"PalI", {"E6", 182250, 0, {I::Code(1, 1, 3)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Pal I"}}},
    {"PalM", {"E6", 182250, 0, {I::Code(1, 1, 4)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Pal M"}}},
    {"PalN", {"E6", 182250, 0, {I::Code(1, 1, 5)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Pal N"}}},
    {"SecamBG", {"E6", 182250, 0, {I::Code(1, 2, 1)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Secam BG"}}},
    {"SecamDK", {"E6", 182250, 0, {I::Code(1, 2, 2)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Secam DK"}}},
    {"SecamL", {"E6", 182250, 0, {I::Code(1, 2, 6)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "Secam L"}}},
    {"Ntsc", {"E6", 182250, 0, {I::Code(1, 3, 0)}}, {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}, {"system", "NTSC M"}}},
    {"AnalogueSatelliteEmptiesTheDigitalFields",
     {"A1", 182250, 1450000, {I::Number(5, 27500000), I::Code(7, 5), I::Code(1, 0, 0)}},
     {{"freq", "1450"}, {"type", "Analog"}, {"band", "SAT"}, {"alarm", "OFF"}, {"symbol rate", ""}, {"modulation", ""},
      {"code rate", ""}, {"g.interval", ""}, {"inv.spectral", ""}, {"carrier", ""}}},
    {"UnlistedSystemOnlySetsTheAnalogueFrequency", {"X", 182250, 0, {I::Code(1, 1, 9)}},
     {{"freq", kF1}, {"bw", "8"}, {"lnb", "External"}}},
    {"UnlistedFamilyOnlySetsTheAnalogueFrequency", {"X", 182250, 0, {I::Code(1, 7, 1)}}, {{"freq", kF1}}},
    {"DvbTH", {"C", 1, 522000, {I::Code(2, 0)}}, {{"type", "DVB-T/H"}, {"freq", "522"}, {"lnb", "External"}}},
    // Exact to the kHz: in single precision 515.143 MHz would read 515.142997.
    {"KHzStayExact", {"C", 1, 515143, {I::Code(2, 10)}}, {{"type", "ISDB-T"}, {"freq", "515.143"}, {"lnb", "External"}}},
    {"DvbC", {"C", 1, 522000, {I::Code(2, 1)}}, {{"type", "DVB-C"}, {"freq", "522"}, {"lnb", "External"}}},
    {"DvbS", {"C", 1, 1450000, {I::Code(2, 2)}}, {{"type", "DVB-S"}, {"freq", "1450"}}},
    {"AnalogUsesF1", {"C", 182250, 522000, {I::Code(2, 3)}}, {{"type", "Analog"}, {"freq", kF1}}},
    {"Dss", {"C", 1, 1450000, {I::Code(2, 4)}}, {{"type", "DSS"}, {"freq", "1450"}}},
    {"Vsb", {"C", 1, 522000, {I::Code(2, 5)}}, {{"type", "8-VSB"}, {"freq", "522"}, {"lnb", "External"}}},
    {"J83", {"C", 1, 522000, {I::Code(2, 6)}}, {{"type", "J-83"}, {"freq", "522"}, {"lnb", "External"}}},
    {"DvbS2", {"C", 1, 1450000, {I::Code(2, 7)}}, {{"type", "DVB-S2"}, {"freq", "1450"}}},
    {"DvbT2", {"C", 1, 522000, {I::Code(2, 9)}}, {{"type", "DVB-T2"}, {"freq", "522"}, {"lnb", "External"}}},
    {"IsdbT", {"C", 1, 522000, {I::Code(2, 10)}}, {{"type", "ISDB-T"}, {"freq", "522"}, {"lnb", "External"}}},
    {"Dtmb", {"C", 1, 522000, {I::Code(2, 11)}}, {{"type", "DTMB"}, {"freq", "522"}, {"lnb", "External"}}},
    {"UnlistedStandardsChangeNothing", {"C", 1, 522000, {I::Code(2, 8), I::Code(2, 12)}}, {}},
    {"LnbSupplies",
     {"L", 0, 0, {I::Code(3, 2, 0)}}, {{"lnb", "13v"}}},
    {"LnbSupplies22kHz", {"L", 0, 0, {I::Code(3, 2, 1), I::Code(3, 1, 0)}}, {{"lnb", "13v22khz"}}},
    {"Lnb18v", {"L", 0, 0, {I::Code(3, 4, 0)}}, {{"lnb", "18v"}}},
    {"Lnb18v22kHz", {"L", 0, 0, {I::Code(3, 4, 1), I::Code(3, 3, 0), I::Code(3, 5, 1), I::Code(3, 4, 7)}},
     {{"lnb", "18v22khz"}}},
    {"LnbExternal", {"L", 0, 0, {I::Code(3, 0)}}, {{"lnb", "External"}}},
    {"BandwidthInMHz", {"B", 0, 0, {I::Number(4, 7000), I::Number(4, 1700)}}, {{"bw", "1.7"}}},
    {"SymbolRateRoundedToKBd", {"R", 0, 0, {I::Number(5, 6875600)}}, {{"symbol rate", "6876"}}},
    {"Inversion", {"V", 0, 0, {I::Code(6, 1), I::Code(6, 0), I::Code(6, 2)}}, {{"inv.spectral", "OFF"}}},
    {"Carriers", {"K", 0, 0, {I::Code(8, 2), I::Code(8, 3)}}, {{"carrier", "4K"}}},
    {"Guard", {"G", 0, 0, {I::Code(9, 3), I::Code(9, 4)}}, {{"g.interval", "1/32"}}},
};

class ExplorationItems : public testing::TestWithParam<ItemCase> {};

TEST_P(ExplorationItems, SetTheFieldsOfTheTable)
{
    const DecodedChannel channel = DecodeOne(GetParam().record);
    EXPECT_EQ(FieldsOf(channel), GetParam().expected);
    EXPECT_EQ(channel.ch, QString::fromLatin1(GetParam().record.name));
}

INSTANTIATE_TEST_SUITE_P(Decoder, ExplorationItems, testing::ValuesIn(kItemCases),
                         [](const testing::TestParamInfo<ItemCase>& info) { return info.param.name; });

TEST(ExplorationDecoder, EveryCodeOfTheListsReadsAsItsText)
{
    const char* const modulations[] = {"16QAM", "32QAM", "64QAM", "128QAM", "256QAM", "QPSK", "8PSK"};
    const char* const codeRates[] = {"1/2", "2/3", "3/4", "4/5", "5/6", "7/8", "6/7",
                                     "1/4", "1/3", "2/5", "3/5", "8/9", "9/10"};
    const char* const carriers[] = {"2K", "8K", "4K"};
    const char* const guards[] = {"1/4", "1/8", "1/16", "1/32"};
    const struct {
        quint8 tag;
        const char* field;
        const char* const* texts;
        int count;
    } lists[] = {{7, "modulation", modulations, 7},
                 {11, "code rate", codeRates, 13},
                 {8, "carrier", carriers, 3},
                 {9, "g.interval", guards, 4}};
    for (const auto& list : lists) {
        for (int code = 0; code <= list.count; ++code) {
            const DecodedChannel channel = DecodeOne({"X", 0, 0, {I::Code(list.tag, static_cast<quint8>(code))}});
            const std::optional<QString> text = channel.Field(list.field);
            if (code < list.count)
                EXPECT_EQ(text, QString::fromLatin1(list.texts[code])) << list.field << " code " << code;
            else
                EXPECT_FALSE(text) << list.field << ": a code past the list sets nothing";
        }
    }
}

TEST(ExplorationDecoder, ALaterItemOverridesAnEarlierOneAndItemsAfterAnUnlistedCodeStillCount)
{
    const DecodedChannel channel =
        DecodeOne({"TP", 0, 11778000, {I::Code(2, 2), I::Code(3, 2, 0), I::Code(7, 200), I::Code(3, 4, 1)}});
    EXPECT_EQ(channel.Field("lnb"), QStringLiteral("18v22khz"));
    EXPECT_EQ(channel.Field("type"), QStringLiteral("DVB-S"));
    EXPECT_EQ(channel.Field("freq"), QStringLiteral("11778"));
    EXPECT_FALSE(channel.Field("modulation"));
}

TEST(ExplorationDecoder, EveryStoredExplorationOfTheSimulatorDecodesWhole)
{
    for (const char* band : {"02", "05"}) {
        for (const StoredExploration& stored : DefaultExplorations(QString::fromLatin1(band))) {
            const DecodedExploration decoded = DecodeExplorationBlock(EncodeExplorationBlock(stored.channels));
            ASSERT_TRUE(decoded.markerFound);
            EXPECT_FALSE(decoded.truncated) << stored.name.toStdString();
            ASSERT_EQ(decoded.channels.size(), static_cast<size_t>(stored.channels.size()));
            for (int i = 0; i < stored.channels.size(); ++i)
                EXPECT_EQ(decoded.channels[i].ch, QString::fromLatin1(stored.channels[i].name));
        }
    }
}

// ---- Hostile blocks -----------------------------------------------------------------------

QByteArray TwoChannelBlock()
{
    return EncodeExplorationBlock({{"C27", 0, 522000, {I::Code(2, 0), I::Number(4, 8000)}},
                                   {"C30", 0, 546000, {I::Code(2, 9), I::Number(4, 8000)}}});
}

TEST(ExplorationDecoder, ABlockCutInsideARecordKeepsTheRecordsBeforeIt)
{
    const QByteArray whole = TwoChannelBlock();
    const int secondRecord = 20 + (16 + 10 + 10);
    // Cut in the second record's items, at its end byte, and just after it.
    const struct {
        int size;
        size_t channels;
        bool truncated;
    } cuts[] = {{secondRecord + 20, 1, true},
                {secondRecord + 26, 1, true},
                {secondRecord + 27, 2, false},
                {secondRecord - 1, 1, true},
                {12, 0, false}};
    for (const auto& cut : cuts) {
        const DecodedExploration decoded = DecodeExplorationBlock(whole.left(cut.size));
        EXPECT_EQ(decoded.channels.size(), cut.channels) << "block of " << cut.size << " bytes";
        EXPECT_EQ(decoded.truncated, cut.truncated) << "block of " << cut.size << " bytes";
    }
}

TEST(ExplorationDecoder, WithoutAMarkerFromOffset14OnNothingIsDecoded)
{
    QByteArray block = TwoChannelBlock();
    block[15] = 0;               // the marker ...
    block[13] = char(0xFF);      // ... only before offset 14
    for (int i = 16; i < block.size(); ++i)
        if (block[i] == char(0xFF))
            block[i] = 0x0A;
    const DecodedExploration decoded = DecodeExplorationBlock(block);
    EXPECT_FALSE(decoded.markerFound);
    EXPECT_TRUE(decoded.channels.empty());
}

TEST(ExplorationDecoder, ACountLargerThanTheRecordsEndsAtTheLastRecord)
{
    QByteArray block = TwoChannelBlock();
    block[11] = char(0x10);
    block[12] = char(0x27);  // 10000 announced
    const DecodedExploration decoded = DecodeExplorationBlock(block);
    EXPECT_EQ(decoded.count, 10000);
    EXPECT_EQ(decoded.channels.size(), 2u);
    EXPECT_TRUE(decoded.truncated);
}

TEST(ExplorationDecoder, ACountOfZeroDecodesNothing)
{
    QByteArray block = TwoChannelBlock();
    block[11] = 0;
    block[12] = 0;
    const DecodedExploration decoded = DecodeExplorationBlock(block);
    EXPECT_TRUE(decoded.markerFound);
    EXPECT_TRUE(decoded.channels.empty());
    EXPECT_FALSE(decoded.truncated);
}

TEST(ExplorationDecoder, AnUnknownTagEndsTheItemsAndTheRecordGoesOnTenBytesLater)
{
    QByteArray block = TwoChannelBlock();
    const int firstItems = 20 + 16;
    block[firstItems + 5] = 10;  // the bandwidth item's tag becomes tag 10
    const DecodedExploration decoded = DecodeExplorationBlock(block);
    ASSERT_GE(decoded.channels.size(), 1u);
    EXPECT_EQ(decoded.channels[0].Field("type"), QStringLiteral("DVB-T/H"));
    EXPECT_FALSE(decoded.channels[0].Field("bw"));
}

TEST(ExplorationDecoder, ANameWithoutNulTakesItsEightBytes)
{
    QByteArray block = EncodeExplorationBlock({{"ABCDEFGH", 0, 522000, {}}});
    EXPECT_EQ(DecodeExplorationBlock(block).channels.at(0).ch, QStringLiteral("ABCDEFGH"));
    EXPECT_TRUE(DecodeExplorationBlock(block).channels.at(0).fields.empty()) << "no items: only the name";
}

TEST(ExplorationDecoder, RepliesOfTheListAndLengthRequests)
{
    const struct {
        QByteArray reply;
        int number;
    } numbers[] = {{"FI=1A\r", 26}, {"FL=61A8\r\0\0", 25000}, {"FI=", 0}, {"F", 0}, {"FI=zz", 0},
                   {"FL=FFFFFFFFFFFF", 0x7FFFFFFF}};
    for (const auto& c : numbers)
        EXPECT_EQ(ReadExplorationNumber(c.reply), c.number) << c.reply.toStdString();
    EXPECT_EQ(ReadExplorationName("FI0200 NAME: CITY-UHF\r\0\0"), QStringLiteral("CITY-UHF"));
    EXPECT_EQ(ReadExplorationName(QByteArray("FI0201 NAME: AB\0CD", 18)), QStringLiteral("AB"));
    EXPECT_EQ(ReadExplorationName("FI0201 NAME: NO-END"), QStringLiteral("NO-END"));
    EXPECT_EQ(ReadExplorationName("short"), QString());
}
}  // namespace
