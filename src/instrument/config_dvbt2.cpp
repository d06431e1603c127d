// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T2.
void TuneDvbT2(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::DvbT2);
    SendParametersUntilReady(s, ready, {
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendBandwidthTer(s, tp); },
    });
}
