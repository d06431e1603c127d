#include "instrument/tuning_parameters.h"

#include "instrument/instrument_log.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {

using Encoding = std::initializer_list<std::pair<const char*, int>>;

std::optional<int> Encode(const QString& text, Encoding table)
{
    for (const auto& [name, code] : table)
        if (text == QLatin1String(name))
            return code;
    return std::nullopt;
}

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

std::optional<QByteArray> Encoded(const char* format, const QString& text, const char* field, Encoding table)
{
    const auto code = Encode(text, table);
    if (!code) {
        qCInfo(lcInstrument) << "tuning: no command for" << field << text;
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
    return Encoded("*GI%d", tp.guardInterval, "g.interval", {{"1/4", 0}, {"1/8", 1}, {"1/16", 2}, {"1/32", 3}});
}

std::optional<QByteArray> BandwidthTerCommand(const TestPoint& tp)
{
    const auto bw = tp.BandwidthMHz();
    if (!bw || std::lround(*bw) < 1 || std::lround(*bw) > 9) {
        qCInfo(lcInstrument) << "tuning: no command for bw" << tp.bw;
        return std::nullopt;
    }
    return Format("*BW0%.0f000", *bw);
}

QByteArray SpectralInversionCommand(const TestPoint& tp)
{
    return Format("*SI%d", tp.invSpectral == QLatin1String("OFF") ? 0 : 1);
}

std::optional<QByteArray> CarriersCommand(const TestPoint& tp)
{
    return Encoded("*MO%d", tp.carrier, "carrier", {{"2K", 0}, {"8K", 1}, {"4K", 2}});
}

std::optional<QByteArray> LayerCommand(const TestPoint& tp)
{
    if (!tp.layer || Encode(*tp.layer, {{"A", 0}, {"B", 1}, {"C", 2}}) == std::nullopt) {
        qCInfo(lcInstrument) << "tuning: no command for layer" << tp.layer.value_or(QStringLiteral("(no field)"));
        return std::nullopt;
    }
    return QByteArray("*LY") + tp.layer->toLatin1();
}

std::optional<QByteArray> BandwidthCableCommand(const TestPoint& tp)
{
    const auto bw = tp.BandwidthMHz();
    if (!bw || *bw <= 0 || *bw > kLargestBandwidthMHz) {
        qCInfo(lcInstrument) << "tuning: no command for bw" << tp.bw;
        return std::nullopt;
    }
    return Format("*BW%04.0f0", *bw * 100.0);
}

std::optional<QByteArray> SymbolRateCommand(const TestPoint& tp)
{
    const auto rate = tp.SymbolRateValue();
    if (!rate) {
        qCInfo(lcInstrument) << "tuning: no command for symbol rate" << tp.symbolRate;
        return std::nullopt;
    }
    return Format("*RA%05d", *rate);
}

std::optional<QByteArray> ModulationCableCommand(const TestPoint& tp)
{
    return Encoded("*CO0%d", tp.modulation, "modulation",
                   {{"16QAM", 3}, {"32QAM", 4}, {"64QAM", 5}, {"128QAM", 6}, {"256QAM", 7}});
}

std::optional<QByteArray> LnbCommand(const TestPoint& tp)
{
    return Encoded("*LB%d", tp.lnb, "lnb",
                   {{"External", 0}, {"13v", 2}, {"18v", 4}, {"13v22khz", 6}, {"18v22khz", 7}});
}

std::optional<QByteArray> CodeRateSatCommand(const TestPoint& tp)
{
    return Encoded("*CR0%d", tp.codeRate, "code rate", {{"1/2", 0}, {"2/3", 1}, {"3/4", 2}, {"5/6", 4}, {"7/8", 6}});
}

std::optional<QByteArray> CodeRateS2Command(const TestPoint& tp)
{
    return Encoded("*CR0%d", tp.codeRate, "code rate",
                   {{"1/2", 0}, {"2/3", 1}, {"3/4", 2}, {"4/5", 3}, {"5/6", 4}, {"6/7", 5}, {"7/8", 6},
                    {"1/4", 7}, {"1/3", 8}, {"2/5", 9}, {"3/5", 10}, {"8/9", 11}, {"9/10", 12}});
}

std::optional<QByteArray> ModulationS2Command(const TestPoint& tp)
{
    return Encoded("*CO0%d", tp.modulation, "modulation", {{"QPSK", 8}, {"8PSK", 9}});
}

std::optional<QByteArray> BandwidthSatAnalogCommand(const TestPoint& tp)
{
    constexpr double kDefaultSatAnalogMHz = 39.0;
    const double bw = tp.bw.trimmed().isEmpty() ? kDefaultSatAnalogMHz : tp.BandwidthMHz().value_or(-1.0);
    if (bw <= 0 || bw > kLargestBandwidthMHz) {
        qCInfo(lcInstrument) << "tuning: no command for bw" << tp.bw;
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
