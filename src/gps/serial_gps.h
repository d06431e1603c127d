// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_device.h"
#include "instrument/serial_port.h"

#include <QByteArray>
#include <QString>

class EventPump;

// The GPS receiver's port: the analyser's port with the differences a
// line-oriented NMEA receiver needs. A line ends at LF only; its clean-up
// turns TAB into a space and cuts the text at the first CR. There is no
// block read and no handshake; it is only ever configured with the standard
// time-outs.
class TSerialGPS {
public:
    static constexpr int kLineBuffer = 100;   // 99 characters and the end mark
    static constexpr int kMaxLine = 255;      // bytes the reader takes before it ends a line
    static constexpr int kIdleReads = 12;

    TSerialGPS(EventPump& pump, SerialDeviceFactory factory);
    ~TSerialGPS();
    TSerialGPS(const TSerialGPS&) = delete;
    TSerialGPS& operator=(const TSerialGPS&) = delete;

    void SelectPort(int index) { m_port.SelectPort(index); }
    [[nodiscard]] bool Open() { return m_port.Open(); }
    bool Configure(TimeoutProfile profile, quint32 baudRate, quint8 byteSize, quint8 parity, quint8 stopBits)
    {
        return m_port.Configure(profile, baudRate, byteSize, parity, stopBits);
    }
    void Close() { m_port.Close(); }
    bool WriteLine(const QByteArray& text) { return m_port.WriteLine(text); }
    // One line into a 100-byte buffer. A line longer than 99 characters is
    // consumed up to its end but reported as over-long (`overLong`) and not
    // stored beyond the buffer. False after 12 empty reads in a row.
    bool ReceiveLine(QByteArray& buffer, bool* overLong = nullptr);
    void FlushInput() { m_port.FlushInput(); }

    bool IsOpen() const { return m_port.IsOpen(); }
    bool DeviceGone() const { return m_port.DeviceGone(); }
    [[nodiscard]] bool Reopen() { return m_port.Reopen(); }
    QString PortName() const { return m_port.PortName(); }

private:
    EventPump& m_pump;
    TSerialPort m_port;
};
