#include "instrument/tuners.h"

// DTMB: standard B. The analyser finds every DTMB parameter by itself.
void TuneDtmb(InstrumentSession& s, const TestPoint& /*tp*/)
{
    s.SelectStandard(0xB, "*SAB");
}
