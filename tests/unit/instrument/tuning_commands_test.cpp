// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tune_frequency.h"
#include "instrument/tuning_parameters.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

using CommandOf = std::optional<QByteArray> (*)(const TestPoint&);

struct EncodingCase {
    const char* name;
    CommandOf command;
    QString TestPoint::*field;
    const char* value;
    const char* expected;  // nullptr: nothing is sent
};

std::optional<QByteArray> SpectralInversion(const TestPoint& tp)
{
    return SpectralInversionCommand(tp);
}

void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << c.name << " \"" << c.value << '"';
}

class ParameterEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ParameterEncoding, MapsFieldToCommand)
{
    const EncodingCase& c = GetParam();
    TestPoint tp;
    tp.*(c.field) = QString::fromUtf8(c.value);
    const auto command = c.command(tp);
    if (c.expected)
        EXPECT_EQ(command, std::optional<QByteArray>(c.expected)) << c.name << " " << c.value;
    else
        EXPECT_EQ(command, std::nullopt) << c.name << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    EveryEncoding, ParameterEncoding,
    ::testing::Values(
        EncodingCase{"guard", GuardIntervalCommand, &TestPoint::guardInterval, "1/4", "*GI0"},
        EncodingCase{"guard", GuardIntervalCommand, &TestPoint::guardInterval, "1/32", "*GI3"},
        EncodingCase{"guard", GuardIntervalCommand, &TestPoint::guardInterval, "1/64", nullptr},
        EncodingCase{"bw ter", BandwidthTerCommand, &TestPoint::bw, "8", "*BW08000"},
        EncodingCase{"bw ter", BandwidthTerCommand, &TestPoint::bw, "7", "*BW07000"},
        EncodingCase{"bw ter", BandwidthTerCommand, &TestPoint::bw, "1.7", "*BW02000"},
        EncodingCase{"bw ter", BandwidthTerCommand, &TestPoint::bw, "", nullptr},
        EncodingCase{"bw ter", BandwidthTerCommand, &TestPoint::bw, "12", nullptr},
        EncodingCase{"inversion", SpectralInversion, &TestPoint::invSpectral, "OFF", "*SI0"},
        EncodingCase{"inversion", SpectralInversion, &TestPoint::invSpectral, "ON", "*SI1"},
        EncodingCase{"inversion", SpectralInversion, &TestPoint::invSpectral, "off", "*SI1"},
        EncodingCase{"carrier", CarriersCommand, &TestPoint::carrier, "2K", "*MO0"},
        EncodingCase{"carrier", CarriersCommand, &TestPoint::carrier, "8K", "*MO1"},
        EncodingCase{"carrier", CarriersCommand, &TestPoint::carrier, "4K", "*MO2"},
        EncodingCase{"carrier", CarriersCommand, &TestPoint::carrier, "16K", nullptr},
        EncodingCase{"bw cable", BandwidthCableCommand, &TestPoint::bw, "8", "*BW08000"},
        EncodingCase{"bw cable", BandwidthCableCommand, &TestPoint::bw, "7.5", "*BW07500"},
        EncodingCase{"bw cable", BandwidthCableCommand, &TestPoint::bw, "x", nullptr},
        EncodingCase{"symbol rate", SymbolRateCommand, &TestPoint::symbolRate, "6900", "*RA06900"},
        EncodingCase{"symbol rate", SymbolRateCommand, &TestPoint::symbolRate, "27500", "*RA27500"},
        EncodingCase{"symbol rate", SymbolRateCommand, &TestPoint::symbolRate, "", nullptr},
        EncodingCase{"modulation cable", ModulationCableCommand, &TestPoint::modulation, "16QAM", "*CO03"},
        EncodingCase{"modulation cable", ModulationCableCommand, &TestPoint::modulation, "256QAM", "*CO07"},
        EncodingCase{"modulation cable", ModulationCableCommand, &TestPoint::modulation, "64qam", nullptr},
        EncodingCase{"lnb", LnbCommand, &TestPoint::lnb, "External", "*LB0"},
        EncodingCase{"lnb", LnbCommand, &TestPoint::lnb, "13v", "*LB2"},
        EncodingCase{"lnb", LnbCommand, &TestPoint::lnb, "18v22khz", "*LB7"},
        EncodingCase{"lnb", LnbCommand, &TestPoint::lnb, "", nullptr},
        EncodingCase{"code rate sat", CodeRateSatCommand, &TestPoint::codeRate, "1/2", "*CR00"},
        EncodingCase{"code rate sat", CodeRateSatCommand, &TestPoint::codeRate, "5/6", "*CR04"},
        EncodingCase{"code rate sat", CodeRateSatCommand, &TestPoint::codeRate, "7/8", "*CR06"},
        EncodingCase{"code rate sat", CodeRateSatCommand, &TestPoint::codeRate, "9/10", nullptr},
        EncodingCase{"code rate S2", CodeRateS2Command, &TestPoint::codeRate, "4/5", "*CR03"},
        EncodingCase{"code rate S2", CodeRateS2Command, &TestPoint::codeRate, "3/5", "*CR010"},
        EncodingCase{"code rate S2", CodeRateS2Command, &TestPoint::codeRate, "9/10", "*CR012"},
        EncodingCase{"code rate S2", CodeRateS2Command, &TestPoint::codeRate, "5/7", nullptr},
        EncodingCase{"modulation S2", ModulationS2Command, &TestPoint::modulation, "QPSK", "*CO08"},
        EncodingCase{"modulation S2", ModulationS2Command, &TestPoint::modulation, "8PSK", "*CO09"},
        EncodingCase{"modulation S2", ModulationS2Command, &TestPoint::modulation, "16APSK", nullptr},
        EncodingCase{"bw sat analogue", BandwidthSatAnalogCommand, &TestPoint::bw, "", "*BW39000"},
        EncodingCase{"bw sat analogue", BandwidthSatAnalogCommand, &TestPoint::bw, "27", "*BW27000"},
        EncodingCase{"bw sat analogue", BandwidthSatAnalogCommand, &TestPoint::bw, "8", "*BW08000"},
        EncodingCase{"bw sat analogue", BandwidthSatAnalogCommand, &TestPoint::bw, "9.99", "*BW09990"},
        EncodingCase{"bw sat analogue", BandwidthSatAnalogCommand, &TestPoint::bw, "wide", nullptr}));

TEST(LayerCommand, SendsTheLayerLetterOnlyForAnExistingLayer)
{
    TestPoint tp;
    tp.layer = QStringLiteral("B");
    EXPECT_EQ(LayerCommand(tp), std::optional<QByteArray>("*LYB"));
    tp.layer = QString();
    EXPECT_EQ(LayerCommand(tp), std::nullopt);
    tp.layer = std::nullopt;
    EXPECT_EQ(LayerCommand(tp), std::nullopt);
}

TEST(FrequencyCommand, RoundsKilohertzToSevenDigits)
{
    EXPECT_EQ(FrequencyCommand(962000.0f), "*FR0962000");
    EXPECT_EQ(FrequencyCommand(474000.4f), "*FR0474000");
    EXPECT_EQ(FrequencyCommand(87600.0f), "*FR0087600");
    EXPECT_EQ(FrequencyCommand(11778000.0f), "*FR11778000");
}

TEST(TestPointNumbers, ReadsFrequencyInSinglePrecisionKilohertz)
{
    TestPoint tp;
    tp.freq = QStringLiteral("949.9");
    EXPECT_EQ(tp.FreqKHz(), 949900.0f);
    tp.freq = QString();
    EXPECT_EQ(tp.FreqKHz(), 0.0f);
}

TEST(TestPointNumbers, MakeTestPointReadsFieldsByName)
{
    const TestPoint tp = MakeTestPoint([](const QString& name) -> std::optional<QString> {
        if (name == QLatin1String("layer"))
            return std::nullopt;
        return QStringLiteral("<%1>").arg(name);
    });
    EXPECT_EQ(tp.layer, std::nullopt);
    EXPECT_EQ(tp.symbolRate, "<symbol rate>");
    EXPECT_EQ(tp.guardInterval, "<g.interval>");
    EXPECT_EQ(tp.invSpectral, "<inv.spectral>");
    EXPECT_EQ(tp.codeRate, "<code rate>");
}

}  // namespace
