#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T2: standard 9, ready code 9.
void TuneDvbT2(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 9;
    s.SelectStandard(9, "*SA9");
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendBandwidthTer(s, tp);
    s.ProcessMessages();
}
