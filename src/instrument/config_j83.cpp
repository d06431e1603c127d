#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// J-83: standard 6, ready code 5.
void TuneJ83(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 5;
    s.SelectStandard(6, "*SA6");
    if (s.IsReady(kReady))
        return;
    SendModulationCable(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
}
