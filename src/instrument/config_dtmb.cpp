// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

// DTMB: the analyser finds every DTMB parameter by itself.
void TuneDtmb(InstrumentSession& s, const TestPoint& /*tp*/)
{
    (void)SelectStandardOf(s, vocabulary::Standard::Dtmb);
}
