#include "instrument/tuners.h"

namespace {

using Tuner = void (*)(InstrumentSession&, const TestPoint&);

struct TunerRow {
    const char* type;
    Tuner tune;
};

constexpr TunerRow kTuners[] = {
    {"DVB-T/H", TuneDvbTH}, {"DVB-T2", TuneDvbT2}, {"8-VSB", Tune8Vsb}, {"ISDB-T", TuneIsdbT},
    {"DVB-C", TuneDvbC},    {"J-83", TuneJ83},     {"DTMB", TuneDtmb},  {"DVB-S", TuneDvbS},
    {"DVB-S2", TuneDvbS2},  {"DSS", TuneDss},
};

}  // namespace

bool TuneStandard(InstrumentSession& session, const TestPoint& tp, float kHz)
{
    if (tp.type == QLatin1String("Analog")) {
        TuneAnalog(session, tp, tp.system, kHz);
        return true;
    }
    for (const TunerRow& row : kTuners) {
        if (tp.type == QLatin1String(row.type)) {
            row.tune(session, tp);
            return true;
        }
    }
    return false;
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
