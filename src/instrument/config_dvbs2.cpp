#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S2: standard 7, ready code 8.
void TuneDvbS2(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(7, "*SA7");
    SendParametersUntilReady(s, {8}, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateS2(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendModulationS2(s, tp); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
