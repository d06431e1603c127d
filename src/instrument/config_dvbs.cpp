#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S: standard 3, ready code 6. The LNB supply goes first: without it
// the analyser cannot lock, so there is nothing to check before it.
void TuneDvbS(InstrumentSession& s, const TestPoint& tp)
{
    s.SelectStandard(3, "*SA3");
    SendParametersUntilReady(s, {6}, {
        [&] { SendLnb(s, tp); },
        [&] { SendCodeRateSat(s, tp); },
        [&] { SendSymbolRate(s, tp, ParameterTiming::Satellite); },
        [&] { SendSpectralInversion(s, tp, ParameterTiming::Satellite); },
    }, FirstParameter::SendUnasked);
}
