// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/test_point.h"

// A test point of `type` with every tuning parameter set to a valid value, so
// each tuner sends all its commands. The analogue system is left empty.
inline TestPoint SampleTestPoint(const char* type, const char* band = "TER", const char* mhz = "474")
{
    TestPoint tp;
    tp.type = QString::fromLatin1(type);
    tp.band = QString::fromLatin1(band);
    tp.freq = QString::fromLatin1(mhz);
    tp.bw = QStringLiteral("8");
    tp.guardInterval = QStringLiteral("1/4");
    tp.invSpectral = QStringLiteral("OFF");
    tp.carrier = QStringLiteral("8K");
    tp.layer = QStringLiteral("A");
    tp.symbolRate = QStringLiteral("27500");
    tp.modulation = QStringLiteral("64QAM");
    tp.codeRate = QStringLiteral("3/4");
    tp.lnb = QStringLiteral("13v");
    return tp;
}
