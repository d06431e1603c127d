#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// J-83: standard 6, ready code 5.
void TuneJ83(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(6, "*SA6");
    SendParametersUntilReady(s, {5}, {
        [&] { SendModulationCable(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable); },
    });
}
