// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DSS: the DVB-S code rates.
void TuneDss(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::Dss);
    SendParametersUntilReady(s, ready, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateSat(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
