#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-C: standard 2, ready code 4.
void TuneDvbC(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 4;
    s.SelectStandard(2, "*SA2");
    if (s.IsReady(kReady))
        return;
    SendBandwidthCable(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSymbolRate(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendModulationCable(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
}
