// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S2.
void TuneDvbS2(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::DvbS2);
    SendParametersUntilReady(s, ready, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateS2(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendModulationS2(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
