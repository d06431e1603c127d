#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T2: standard 9, ready code 9.
void TuneDvbT2(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(9, "*SA9");
    SendParametersUntilReady(s, {9}, {
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
        [&] { SendBandwidthTer(s, tp); },
    });
}
