// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarm_controls.h"

#include <functional>

namespace {
using Subject = ThresholdSubject;

struct Block {
    std::function<bool(const Subject&)> matches;
    ThresholdOffer offer;  // Level, MER, C/N, V/A, CBER, VBER, LBER
    // Applied right after the block when it matched.
    std::function<void(const Subject&, ThresholdOffer&)> refine;
};

bool TypeIs(const Subject& s, std::initializer_list<const char*> types)
{
    for (const char* type : types)
        if (s.type == QLatin1String(type))
            return true;
    return false;
}

// Level only: a DAB channel gives no MER, C/N or VBER worth a threshold, an
// FM channel no V/A or C/N.
void LevelOnly(ThresholdOffer& offer)
{
    offer = {true, false, false, false, false, false, false};
}

const Block kBlocks[] = {
    {[](const Subject& s) { return s.band == QLatin1String("SAT") && s.system == QLatin1String("Analog"); },
     {true, false, true, false, false, false, false}, {}},
    {[](const Subject& s) { return TypeIs(s, {"DVB-S", "DSS"}); }, {true, true, true, false, true, true, false}, {}},
    {[](const Subject& s) { return TypeIs(s, {"DVB-S2", "DVB-T2"}); }, {true, true, true, false, true, false, true}, {}},
    {[](const Subject& s) { return TypeIs(s, {"DVB-C", "J-83"}); },
     {true, true, true, false, false, true, false},
     [](const Subject& s, ThresholdOffer& offer) {
         if (s.plan == QLatin1String("DAB"))
             LevelOnly(offer);
     }},
    {[](const Subject& s) { return TypeIs(s, {"DVB-T/H", "8-VSB", "ISDB-T"}); },
     {true, true, true, false, true, true, false}, {}},
    {[](const Subject& s) { return s.band == QLatin1String("TER") && s.type == QLatin1String("Analog"); },
     {true, false, true, true, false, false, false},
     [](const Subject& s, ThresholdOffer& offer) {
         if (s.system == QLatin1String("FM"))
             LevelOnly(offer);
     }},
    {[](const Subject& s) { return s.type == QLatin1String("Analog") && s.system == QLatin1String("Satellite"); },
     {true, false, true, false, false, false, false}, {}},
    // DTMB: what its readout measures (level, C/N, MER, and the bit error
    // rate after the decoder, stored as LBER).
    {[](const Subject& s) { return s.type == QLatin1String("DTMB"); }, {true, true, true, false, false, false, true}, {}},
};
}  // namespace

std::optional<ThresholdOffer> OfferedThresholds(const ThresholdSubject& subject)
{
    std::optional<ThresholdOffer> offer;
    for (const Block& block : kBlocks) {
        if (!block.matches(subject))
            continue;
        offer = block.offer;
        if (block.refine)
            block.refine(subject, *offer);
    }
    return offer;
}
