// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/test_point.h"
#include "instrument/tune_frequency.h"
#include "instrument/vocabulary.h"

#include <QByteArray>
#include <functional>
#include <initializer_list>
#include <optional>

// The parameter commands of the tuners. Each *Command function maps a field
// of the test point to its command text; nullopt when the field holds a value
// outside the encoding (the editor never offers one, but a table edited
// elsewhere may): for such a value nothing is sent and no wait is spent,
// because any argument we made up would retune the analyser to a setting the
// user never chose.
std::optional<QByteArray> GuardIntervalCommand(const TestPoint& tp);   // "*GI%d"
std::optional<QByteArray> BandwidthTerCommand(const TestPoint& tp);    // "*BW0%.0f000"
QByteArray SpectralInversionCommand(const TestPoint& tp);              // "*SI%d", never fails
std::optional<QByteArray> CarriersCommand(const TestPoint& tp);        // "*MO%d"
std::optional<QByteArray> LayerCommand(const TestPoint& tp);           // "*LY%s"
std::optional<QByteArray> BandwidthCableCommand(const TestPoint& tp);  // "*BW%04.0f0"
std::optional<QByteArray> SymbolRateCommand(const TestPoint& tp);      // "*RA%05d"
std::optional<QByteArray> ModulationCableCommand(const TestPoint& tp); // "*CO0%d"
std::optional<QByteArray> LnbCommand(const TestPoint& tp);             // "*LB%d"
std::optional<QByteArray> CodeRateSatCommand(const TestPoint& tp);     // "*CR0%d"
std::optional<QByteArray> CodeRateS2Command(const TestPoint& tp);      // "*CR0%d"
std::optional<QByteArray> ModulationS2Command(const TestPoint& tp);    // "*CO0%d"
// "*BW0%.0f0" below 10 MHz, else "*BW%.0f0"; an empty "bw" means 39 MHz.
std::optional<QByteArray> BandwidthSatAnalogCommand(const TestPoint& tp);

// Spectral inversion and symbol rate are sent with other waits by the
// satellite tuners than by the terrestrial and cable ones.
enum class ParameterTiming { TerrestrialCable, Satellite };

// The senders: the command with its waits before and after. Window messages
// after the command are the tuner's business (ISDB-T runs none).
void SendGuardInterval(InstrumentSession& s, const TestPoint& tp);
void SendBandwidthTer(InstrumentSession& s, const TestPoint& tp);
void SendSpectralInversion(InstrumentSession& s, const TestPoint& tp, ParameterTiming timing);
void SendCarriers(InstrumentSession& s, const TestPoint& tp);
void SendLayer(InstrumentSession& s, const TestPoint& tp);
void SendBandwidthCable(InstrumentSession& s, const TestPoint& tp);
void SendSymbolRate(InstrumentSession& s, const TestPoint& tp, ParameterTiming timing);
void SendModulationCable(InstrumentSession& s, const TestPoint& tp);
void SendLnb(InstrumentSession& s, const TestPoint& tp);
void SendCodeRateSat(InstrumentSession& s, const TestPoint& tp);
void SendCodeRateS2(InstrumentSession& s, const TestPoint& tp);
void SendModulationS2(InstrumentSession& s, const TestPoint& tp);
void SendBandwidthSatAnalog(InstrumentSession& s, const TestPoint& tp);

// The ready codes of a standard: "*?ST" reports one of them once the analyser
// has locked. DVB-T/H has two; the others one (second is then -1).
struct ReadyCodes {
    int code;
    int otherCode = -1;
};

// The standard selection of a digital tuner with the codes of its standard;
// returns the ready codes the tuner then waits for.
ReadyCodes SelectStandardOf(InstrumentSession& s, vocabulary::Standard standard, bool letMessagesRun = true);

// Whether the first parameter is sent without asking: the satellite tuners
// send the LNB supply first, as nothing can lock without it.
enum class FirstParameter { AskReady, SendUnasked };

// The loop every digital tuner runs after its standard selection: for each
// parameter in turn, ask whether the analyser has locked (and stop sending
// if so), send it, let window messages run.
void SendParametersUntilReady(InstrumentSession& s, ReadyCodes ready,
                              std::initializer_list<std::function<void()>> senders,
                              FirstParameter first = FirstParameter::AskReady);
