// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// 8-VSB.
void Tune8Vsb(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::Vsb8);
    SendParametersUntilReady(s, ready, {
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
