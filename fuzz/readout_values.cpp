// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers in a measurement reply: any text gives a value, never a fault,
// and a bit error rate is always written with a decimal point.
#include "fuzz_support.h"
#include "instrument/analyser_link.h"
#include "instrument/measurement_readout.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray reply = fuzz::Bytes(data, size);
    for (int offset = 0; offset <= 8; ++offset)
        ReplyInteger(reply, offset);
    if (!std::isfinite(ScaledReading(reply)))
        __builtin_trap();
    const QString ber = BerReading(reply);
    if (ber.contains(QLatin1Char(',')))
        __builtin_trap();  // stored numbers carry a point under every locale
    ReadHexAfter(reply, 3);
    return 0;
}
