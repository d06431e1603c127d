// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-C.
void TuneDvbC(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::DvbC);
    SendParametersUntilReady(s, ready, {
        [&] { SendBandwidthCable(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendModulationCable(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
