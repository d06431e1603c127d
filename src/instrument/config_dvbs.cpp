// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S. The LNB supply goes first: without it the analyser cannot lock, so
// there is nothing to check before it.
void TuneDvbS(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::DvbS);
    SendParametersUntilReady(s, ready, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateSat(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
