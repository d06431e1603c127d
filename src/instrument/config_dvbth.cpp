#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-T/H: standard 1; the analyser reports 1 or 2 once it has locked.
void TuneDvbTH(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 1, kReadyToo = 2;
    s.SelectStandard(1, "*SA1");
    if (s.IsReady(kReady, kReadyToo))
        return;
    SendGuardInterval(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady, kReadyToo))
        return;
    SendBandwidthTer(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady, kReadyToo))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::TerrestrialCable);
    s.ProcessMessages();
    if (s.IsReady(kReady, kReadyToo))
        return;
    SendCarriers(s, tp);
    s.ProcessMessages();
}
