// SPDX-License-Identifier: GPL-3.0-or-later
// What the GPS receiver sends: every line through the receiver's port and the
// sentence parser; an accepted fix always names its hemispheres as written.
#include "fuzz_support.h"
#include "gps/gga_reader.h"
#include "gps/serial_gps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray sent = fuzz::Bytes(data, size);
    // The parser alone, on the whole input as one line ...
    GpsFix fix;
    ParseGgaFix(sent, fix);
    // ... and on each line as the receiver's port cuts them.
    fuzz::NullPump pump;
    fuzz::ReplayDevice* device = nullptr;
    TSerialGPS port(pump, [&](const QString&) {
        auto d = std::make_unique<fuzz::ReplayDevice>(sent, 7);
        device = d.get();
        return d;
    });
    if (!port.Open())
        return 0;
    for (int line = 0; line < 256 && device->Remaining() > 0; ++line) {
        QByteArray text;
        bool overLong = false;
        port.ReceiveLine(text, &overLong);
        if (text.size() >= TSerialGPS::kLineBuffer)
            __builtin_trap();  // the line buffer holds 99 characters
        GpsFix lineFix;
        ParseGgaFix(text, lineFix);
    }
    return 0;
}
