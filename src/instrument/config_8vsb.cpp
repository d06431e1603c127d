#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// 8-VSB: standard 5, ready code 3.
void Tune8Vsb(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(5, "*SA5");
    SendParametersUntilReady(s, {3}, {
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
