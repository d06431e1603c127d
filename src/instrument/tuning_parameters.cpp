// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuning_parameters.h"

#include "instrument/instrument_log.h"
#include "instrument/vocabulary.h"
#include "platform/fields.h"

#include <cmath>
#include <cstdio>

namespace {

using vocabulary::Kind;
using vocabulary::Standard;

QByteArray Format(const char* format, int value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QByteArray(buffer);
}

QByteArray Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QByteArray(buffer);
}

// Each command has one encoding, that of the standard named here, whichever
// tuner sends it (J-83 sends the cable modulations, DSS the DVB-S code rates).
std::optional<QByteArray> Encoded(const char* format, Kind kind, Standard encoding, const QString& text)
{
    const auto code = vocabulary::AnalyserCode(kind, encoding, text);
    if (!code) {
        qCInfo(lcInstrument) << "tuning: no command for" << vocabulary::FieldOf(kind) << text;
        return std::nullopt;
    }
    return Format(format, *code);
}

// Sensible bandwidths fit the command's digits; a value beyond them would
// make a longer, different command.
constexpr double kLargestBandwidthMHz = 99.0;

void SendIfEncoded(InstrumentSession& s, const std::optional<QByteArray>& command, int beforeMs, int afterMs)
{
    if (command)
        s.SendWithWaits(*command, beforeMs, afterMs);
}

}  // namespace

std::optional<QByteArray> GuardIntervalCommand(const TestPoint& tp)
{
    return Encoded("*GI%d", Kind::GuardInterval, Standard::DvbTH, tp.guardInterval);
}

std::optional<QByteArray> BandwidthTerCommand(const TestPoint& tp)
{
    const auto bw = tp.BandwidthMHz();
    if (!bw || std::lround(*bw) < 1 || std::lround(*bw) > 9) {
        qCInfo(lcInstrument) << "tuning: no command for" << fields::kBw << tp.bw;
        return std::nullopt;
    }
    return Format("*BW0%.0f000", *bw);
}

QByteArray SpectralInversionCommand(const TestPoint& tp)
{
    // Only "OFF" turns the inversion off; any other text, empty included, leaves it on.
    const int on = vocabulary::AnalyserCode(Kind::InvSpectral, Standard::DvbC, QStringLiteral("ON")).value_or(1);
    return Format("*SI%d", vocabulary::AnalyserCode(Kind::InvSpectral, Standard::DvbC, tp.invSpectral).value_or(on));
}

std::optional<QByteArray> CarriersCommand(const TestPoint& tp)
{
    return Encoded("*MO%d", Kind::Carrier, Standard::DvbTH, tp.carrier);
}

std::optional<QByteArray> LayerCommand(const TestPoint& tp)
{
    if (!tp.layer || !vocabulary::IsKnown(Kind::Layer, *tp.layer)) {
        qCInfo(lcInstrument) << "tuning: no command for" << fields::kLayer
                             << tp.layer.value_or(QStringLiteral("(no field)"));
        return std::nullopt;
    }
    return QByteArray("*LY") + tp.layer->toLatin1();
}

std::optional<QByteArray> BandwidthCableCommand(const TestPoint& tp)
{
    const auto bw = tp.BandwidthMHz();
    if (!bw || *bw <= 0 || *bw > kLargestBandwidthMHz) {
        qCInfo(lcInstrument) << "tuning: no command for" << fields::kBw << tp.bw;
        return std::nullopt;
    }
    return Format("*BW%04.0f0", *bw * 100.0);
}

std::optional<QByteArray> SymbolRateCommand(const TestPoint& tp)
{
    const auto rate = tp.SymbolRateValue();
    if (!rate) {
        qCInfo(lcInstrument) << "tuning: no command for" << fields::kSymbolRate << tp.symbolRate;
        return std::nullopt;
    }
    return Format("*RA%05d", *rate);
}

std::optional<QByteArray> ModulationCableCommand(const TestPoint& tp)
{
    return Encoded("*CO0%d", Kind::Modulation, Standard::DvbC, tp.modulation);
}

std::optional<QByteArray> LnbCommand(const TestPoint& tp)
{
    return Encoded("*LB%d", Kind::Lnb, Standard::DvbS, tp.lnb);
}

std::optional<QByteArray> CodeRateSatCommand(const TestPoint& tp)
{
    return Encoded("*CR0%d", Kind::CodeRate, Standard::DvbS, tp.codeRate);
}

std::optional<QByteArray> CodeRateS2Command(const TestPoint& tp)
{
    return Encoded("*CR0%d", Kind::CodeRate, Standard::DvbS2, tp.codeRate);
}

std::optional<QByteArray> ModulationS2Command(const TestPoint& tp)
{
    return Encoded("*CO0%d", Kind::Modulation, Standard::DvbS2, tp.modulation);
}

std::optional<QByteArray> BandwidthSatAnalogCommand(const TestPoint& tp)
{
    constexpr double kDefaultSatAnalogMHz = 39.0;
    const double bw = tp.bw.trimmed().isEmpty() ? kDefaultSatAnalogMHz : tp.BandwidthMHz().value_or(-1.0);
    if (bw <= 0 || bw > kLargestBandwidthMHz) {
        qCInfo(lcInstrument) << "tuning: no command for" << fields::kBw << tp.bw;
        return std::nullopt;
    }
    const double hundredths = bw * 100.0;
    return Format(hundredths < 1000.0 ? "*BW0%.0f0" : "*BW%.0f0", hundredths);
}

void SendGuardInterval(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, GuardIntervalCommand(tp), 500, 1000);
}

void SendBandwidthTer(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, BandwidthTerCommand(tp), 500, 1000);
}

void SendSpectralInversion(InstrumentSession& s, const TestPoint& tp, ParameterTiming timing)
{
    if (timing == ParameterTiming::Satellite)
        s.SendWithWaits(SpectralInversionCommand(tp), 0, 1500);
    else
        s.SendWithWaits(SpectralInversionCommand(tp), 500, 1000);
}

void SendCarriers(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, CarriersCommand(tp), 500, 1000);
}

void SendLayer(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, LayerCommand(tp), 0, 3000);
}

void SendBandwidthCable(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, BandwidthCableCommand(tp), 500, 1000);
}

void SendSymbolRate(InstrumentSession& s, const TestPoint& tp, ParameterTiming timing)
{
    if (timing == ParameterTiming::Satellite)
        SendIfEncoded(s, SymbolRateCommand(tp), 0, 1500);
    else
        SendIfEncoded(s, SymbolRateCommand(tp), 500, 1000);
}

void SendModulationCable(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, ModulationCableCommand(tp), 500, 1000);
}

void SendLnb(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, LnbCommand(tp), 0, 3000);
}

void SendCodeRateSat(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, CodeRateSatCommand(tp), 0, 1500);
}

void SendCodeRateS2(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, CodeRateS2Command(tp), 0, 1500);
}

void SendModulationS2(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, ModulationS2Command(tp), 0, 1500);
}

void SendBandwidthSatAnalog(InstrumentSession& s, const TestPoint& tp)
{
    SendIfEncoded(s, BandwidthSatAnalogCommand(tp), 500, 1000);
}

ReadyCodes SelectStandardOf(InstrumentSession& s, Standard standard, bool letMessagesRun)
{
    const vocabulary::StandardCodes codes = vocabulary::CodesOf(standard);
    s.SelectStandard(codes.standardCode, vocabulary::SelectCommand(codes.standardCode), letMessagesRun);
    return ReadyCodes{codes.readyCode, codes.otherReadyCode};
}

void SendParametersUntilReady(InstrumentSession& s, ReadyCodes ready,
                              std::initializer_list<std::function<void()>> senders, FirstParameter first)
{
    bool ask = first == FirstParameter::AskReady;
    for (const auto& send : senders) {
        if (ask) {
            const bool locked = ready.otherCode < 0 ? s.IsReady(ready.code)
                                                    : s.IsReady(ready.code, ready.otherCode);
            if (locked)
                return;
        }
        send();
        s.ProcessMessages();
        ask = true;
    }
}
