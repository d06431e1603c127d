#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DSS: standard 4, ready code 7; the DVB-S code rates.
void TuneDss(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 7;
    s.SelectStandard(4, "*SA4");
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
