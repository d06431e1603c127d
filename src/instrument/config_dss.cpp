#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DSS: standard 4, ready code 7; the DVB-S code rates.
void TuneDss(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(4, "*SA4");
    SendParametersUntilReady(s, {7}, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateSat(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
