// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/vocabulary.h"

namespace {

using vocabulary::Standard;
using Tuner = void (*)(InstrumentSession&, const TestPoint&);

Tuner TunerOf(Standard standard)
{
    switch (standard) {
    case Standard::DvbTH: return TuneDvbTH;
    case Standard::DvbT2: return TuneDvbT2;
    case Standard::Vsb8: return Tune8Vsb;
    case Standard::IsdbT: return TuneIsdbT;
    case Standard::DvbC: return TuneDvbC;
    case Standard::J83: return TuneJ83;
    case Standard::Dtmb: return TuneDtmb;
    case Standard::DvbS: return TuneDvbS;
    case Standard::DvbS2: return TuneDvbS2;
    case Standard::Dss: return TuneDss;
    case Standard::Analog: break;
    }
    return nullptr;
}

}  // namespace

bool TuneStandard(InstrumentSession& session, const TestPoint& tp, float kHz)
{
    const auto standard = vocabulary::StandardOfType(tp.type);
    if (!standard)
        return false;
    if (*standard == Standard::Analog) {
        TuneAnalog(session, tp, tp.system, kHz);
        return true;
    }
    TunerOf(*standard)(session, tp);
    return true;
}

bool TuneTestPoint(InstrumentSession& session, const TestPoint& tp)
{
    const float kHz = tp.FreqKHz();
    TuneFrequency(session, tp, kHz);
    session.ProcessMessages();
    if (session.StopRequested())
        return false;
    TuneStandard(session, tp, kHz);
    return true;
}
