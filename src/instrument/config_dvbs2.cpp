#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DVB-S2: standard 7, ready code 8.
void TuneDvbS2(InstrumentSession& s, const TestPoint& tp)
{
    constexpr int kReady = 8;
    s.SelectStandard(7, "*SA7");
    SendLnb(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendCodeRateS2(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSymbolRate(s, tp, ParameterTiming::Satellite);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendModulationS2(s, tp);
    s.ProcessMessages();
    if (s.IsReady(kReady))
        return;
    SendSpectralInversion(s, tp, ParameterTiming::Satellite);
    s.ProcessMessages();
}
