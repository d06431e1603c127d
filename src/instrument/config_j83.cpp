// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// J-83.
void TuneJ83(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::J83);
    SendParametersUntilReady(s, ready, {
        [&] { SendModulationCable(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
