#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-C: standard 2, ready code 4.
void TuneDvbC(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(2, "*SA2");
    SendParametersUntilReady(s, {4}, {
        [&] { SendBandwidthCable(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendModulationCable(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
