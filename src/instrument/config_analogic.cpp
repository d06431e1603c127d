// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"
#include "instrument/vocabulary.h"

#include <cstdio>

namespace {

using vocabulary::Standard;

// The analyser settles on the PAL B/G and D/K systems more slowly. The wait
// is spent also when the analyser is on the system already.
int SystemWaitMs(int systemCode)
{
    constexpr int kPalBG = 0x01;
    constexpr int kPalDK = 0x02;
    return systemCode == kPalBG || systemCode == kPalDK ? 3000 : 2000;
}

// A standard change moves the analyser off the frequency, so it is set again.
void SwitchStandard(InstrumentSession& s, int standardCode, const TestPoint& tp, float kHz)
{
    s.WaitWithStop(500);
    (void)s.Link().SendCommand(vocabulary::SelectCommand(standardCode));
    s.WaitWithStop(3000);
    s.ProcessMessages();
    TuneFrequency(s, tp, kHz);
}

}  // namespace

void TuneAnalog(InstrumentSession& s, const TestPoint& tp, const QString& system, float kHz)
{
    const int television = vocabulary::CodesOf(Standard::Analog).standardCode;
    const int fmStandard = vocabulary::CodesOf(Standard::Analog, system).standardCode;
    const bool fm = fmStandard != television;
    if (s.Link().QueryCode("*?SA") != television && !fm)
        SwitchStandard(s, television, tp, kHz);

    if (tp.band == QLatin1String("SAT")) {
        SendLnb(s, tp);
        s.ProcessMessages();
        SendBandwidthSatAnalog(s, tp);
        s.ProcessMessages();
        return;
    }

    // "*SY" and the code's two hexadecimal digits.
    if (const auto code = vocabulary::AnalyserCode(vocabulary::Kind::System, Standard::Analog, system)) {
        if (s.Link().QueryCode("*?SY") != *code) {
            char command[16];
            std::snprintf(command, sizeof command, "*SY%02X", static_cast<unsigned>(*code));
            (void)s.Link().SendCommand(command);
        }
        s.WaitWithStop(SystemWaitMs(*code));
        return;
    }

    if (fm && s.Link().QueryCode("*?SA") != fmStandard)
        SwitchStandard(s, fmStandard, tp, kHz);
}
