#include "instrument/tuners.h"
#include "instrument/tuning_parameters.h"

#include <cstdio>

namespace {

struct ColourSystem {
    const char* name;
    int code;    // "*?SY" reply, and the two digits of "*SY" in hexadecimal
    int waitMs;  // spent also when the analyser is on the system already
};

constexpr ColourSystem kColourSystems[] = {
    {"Pal BG", 0x01, 3000},   {"Pal DK", 0x02, 3000},   {"Pal I", 0x03, 2000},
    {"Pal M", 0x04, 2000},    {"Pal N", 0x05, 2000},    {"Secam BG", 0x11, 2000},
    {"Secam L", 0x16, 2000},  {"Secam DK", 0x12, 2000}, {"NTSC M", 0x24, 2000},
};

constexpr int kAnalogStandard = 0;
constexpr int kFmStandard = 8;

// A standard change moves the analyser off the frequency, so it is set again.
void SwitchStandard(InstrumentSession& s, const QByteArray& selectCommand, const TestPoint& tp, float kHz)
{
    s.WaitWithStop(500);
    (void)s.Link().SendCommand(selectCommand);
    s.WaitWithStop(3000);
    s.ProcessMessages();
    TuneFrequency(s, tp, kHz);
}

}  // namespace

void TuneAnalog(InstrumentSession& s, const TestPoint& tp, const QString& system, float kHz)
{
    const bool fm = system == QLatin1String("FM");
    if (s.Link().QueryCode("*?SA") != kAnalogStandard && !fm)
        SwitchStandard(s, "*SA0", tp, kHz);

    if (tp.band == QLatin1String("SAT")) {
        SendLnb(s, tp);
        s.ProcessMessages();
        SendBandwidthSatAnalog(s, tp);
        s.ProcessMessages();
        return;
    }

    for (const ColourSystem& row : kColourSystems) {
        if (system != QLatin1String(row.name))
            continue;
        if (s.Link().QueryCode("*?SY") != row.code) {
            char command[16];
            std::snprintf(command, sizeof command, "*SY%02X", static_cast<unsigned>(row.code));
            (void)s.Link().SendCommand(command);
        }
        s.WaitWithStop(row.waitMs);
        return;
    }

    if (fm && s.Link().QueryCode("*?SA") != kFmStandard)
        SwitchStandard(s, "*SA8", tp, kHz);
}
