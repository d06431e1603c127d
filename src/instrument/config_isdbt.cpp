// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// ISDB-T. The analyser needs the guard interval, carriers and inversion
// together and 6 s to lock on them; only a locked analyser can take the layer
// to measure.
void TuneIsdbT(InstrumentSession& s, const TestPoint& tp)
{
    const ReadyCodes ready = SelectStandardOf(s, vocabulary::Standard::IsdbT, /*letMessagesRun=*/false);
    SendGuardInterval(s, tp);
    SendCarriers(s, tp);
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.WaitWithStop(6000);
    s.ProcessMessages();
    if (s.IsReady(ready.code))
        SendLayer(s, tp);
}
