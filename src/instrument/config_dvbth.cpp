#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T/H: standard 1; the analyser reports 1 or 2 once it has locked.
void TuneDvbTH(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(1, "*SA1");
    SendParametersUntilReady(s, {1, 2}, {
        [&] { SendGuardInterval(s, tp); },
        [&] { SendBandwidthTer(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendCarriers(s, tp); },
    });
}
