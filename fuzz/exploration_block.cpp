// SPDX-License-Identifier: GPL-3.0-or-later
// What the analyser sends for a stored exploration: the block decoder and the
// count, length and name replies. Nothing is read outside the bytes given,
// no more records come out than the block announces, and each record's texts
// fit what a test point row can hold.
#include "fuzz_support.h"
#include "testpoints/exploration_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray block = fuzz::Bytes(data, size);
    const DecodedExploration decoded = DecodeExplorationBlock(block);
    if (!decoded.markerFound && !decoded.channels.empty())
        __builtin_trap();
    if (static_cast<int>(decoded.channels.size()) > decoded.count)
        __builtin_trap();
    if (decoded.count > 0xFFFF)
        __builtin_trap();
    for (const DecodedChannel& channel : decoded.channels) {
        if (channel.ch.size() > 8 || channel.ch.contains(QChar(0)))
            __builtin_trap();
        for (const auto& field : channel.fields)
            if (field.first == nullptr)
                __builtin_trap();
    }
    // The same bytes as the replies of the list and length requests.
    if (ReadExplorationNumber(block) < 0)
        __builtin_trap();
    if (ReadExplorationName(block).contains(QLatin1Char('\r')))
        __builtin_trap();
    // Records read from any offset stay inside the block.
    int next = 0;
    for (int at = 0; at < std::min<int>(static_cast<int>(block.size()), 64); ++at)
        if (DecodeChannelRecord(block, at, next) && (next <= at || next > block.size() + 10))
            __builtin_trap();
    return 0;
}
