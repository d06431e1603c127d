// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/port_search.h"

#include "instrument/analyser_link.h"
#include "instrument/instrument_log.h"

namespace {
constexpr int kPortCount = 40;
constexpr int kXonReads = 4;
}

PortSearchResult SearchAnalyserPort(AnalyserLink& link, const std::function<void(int)>& showPortIndex)
{
    TSerialPort& port = link.Port();
    port.Close();
    for (int index = 0; index < kPortCount; ++index) {
        if (showPortIndex)
            showPortIndex(index);
        port.SelectPort(index);
        if (!port.Open())
            continue;
        port.Configure(TimeoutProfile::Standard, 115200, 8, 0, 0);
        bool ready = false;
        for (int read = 0; read < kXonReads && !ready; ++read)
            ready = port.ReadByteIsXon();
        if (!ready) {
            qCDebug(lcInstrument) << port.PortName() << "gave no XON";
            continue;
        }
        QByteArray buffer("*?NA");
        buffer.reserve(256);
        port.SettleAfterConfigure();
        if (link.IdentifyAnalyser(buffer))
            return {true, index, QString::fromLatin1(buffer)};
    }
    return {};
}
