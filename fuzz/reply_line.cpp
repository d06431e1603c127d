// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser's side of the link: whatever bytes it sends, in whatever
// pieces, the handshake, the identification, the reply lines and the block
// read end within their limits and leave the link usable.
#include "fuzz_support.h"
#include "instrument/analyser_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how many bytes one read may deliver.
    const int chunk = 1 + data[0] % 16;
    const QByteArray sent = fuzz::Bytes(data + 1, size - 1);
    fuzz::NullPump pump;
    int modelCode = 0;
    fuzz::ReplayDevice* device = nullptr;
    AnalyserLink link(
        pump,
        [&](const QString&) {
            auto d = std::make_unique<fuzz::ReplayDevice>(sent, chunk);
            device = d.get();
            return d;
        },
        modelCode);
    if (!link.Port().Open())
        return 0;
    QByteArray buffer("*?NA");
    link.IdentifyAnalyser(buffer);
    // Each round reads at least one byte or ends on silence.
    for (int round = 0; round < 64 && device->Remaining() > 0; ++round) {
        QByteArray query("*?LV");
        if (link.Query(query) && query.size() > TSerialPort::kMaxLine)
            __builtin_trap();  // a reply line is never longer than the port allows
        link.QueryCode(QByteArrayLiteral("*?ST"));
        QByteArray block;
        link.SendAndReadBlock(QByteArrayLiteral("*BLK"), block, 64);
        QByteArray line;
        link.Port().ReceiveLine(line);
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                __builtin_trap();  // control characters are cleaned out of every line
    }
    return 0;
}
