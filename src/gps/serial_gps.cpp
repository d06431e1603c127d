// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/serial_gps.h"

#include "platform/event_pump.h"

#include <utility>

TSerialGPS::TSerialGPS(EventPump& pump, SerialDeviceFactory factory)
    : m_pump(pump), m_port(pump, std::move(factory))
{
}

TSerialGPS::~TSerialGPS() = default;

bool TSerialGPS::ReceiveLine(QByteArray& buffer, bool* overLong)
{
    buffer.clear();
    bool tooLong = false;
    bool finished = false;
    bool result = false;
    int idle = 0;
    int count = 0;
    while (!finished && idle < kIdleReads) {
        char byte = 0;
        if (!m_port.ReadOneByte(byte)) {
            ++idle;
            result = false;
            if (!m_port.IsOpen())
                break;
            continue;
        }
        const bool ends = byte == kLf || count >= kMaxLine;
        if (ends) {
            finished = true;
        } else if (buffer.size() < kLineBuffer - 1) {
            buffer.append(byte);
        } else {
            tooLong = true;
        }
        ++count;
        m_pump.ProcessMessages();
        idle = 0;
        result = true;
    }
    for (char& c : buffer) {
        if (c == '\t')
            c = ' ';
    }
    const int cr = buffer.indexOf(kCr);
    if (cr >= 0)
        buffer.truncate(cr);
    if (overLong)
        *overLong = tooLong;
    return result;
}
