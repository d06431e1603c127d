#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// 8-VSB: standard 5, ready code 3.
void Tune8Vsb(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 3;
    s.SelectStandard(5, "*SA5");
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
}
