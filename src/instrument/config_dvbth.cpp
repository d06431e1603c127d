// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T/H: the analyser reports either of two ready codes once it has locked.
void TuneDvbTH(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::DvbTH);
    SendParametersUntilReady(s, ready, {
        [&] { SendGuardInterval(s, tp); },
        [&] { SendBandwidthTer(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendCarriers(s, tp); },
    });
}
