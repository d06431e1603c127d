#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S: standard 3, ready code 6. The LNB supply goes first: without it
// the analyser cannot lock, so there is nothing to check before it.
void TuneDvbS(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 6;
    s.SelectStandard(3, "*SA3");
    SendLnb(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendCodeRateSat(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSymbolRate(s, tp, ParameterTiming::Satellite);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::Satellite);
    s.ProcessMessages();
}
