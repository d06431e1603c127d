#pragma once

#include "instrument/serial_device.h"
#include "instrument/serial_port.h"

#include <QByteArray>
#include <QString>
#include <memory>

class EventPump;

// The GPS receiver's port: the design of TSerialPort with the differences a
// line-oriented NMEA receiver needs. A line ends at LF only; its clean-up
// turns TAB into a space and cuts the text at the first CR. There is no
// block read and no handshake.
class TSerialGPS {
public:
    static constexpr int kLineBuffer = 100;   // 99 characters and the end mark
    static constexpr int kMaxLine = 255;      // bytes the reader takes before it ends a line
    static constexpr int kIdleReads = 12;

    TSerialGPS(EventPump& pump, SerialDeviceFactory factory);
    ~TSerialGPS();
    TSerialGPS(const TSerialGPS&) = delete;
    TSerialGPS& operator=(const TSerialGPS&) = delete;

    void SelectPort(int index);
    [[nodiscard]] bool Open();
    bool Configure(TimeoutProfile profile, quint32 baudRate, quint8 byteSize, quint8 parity, quint8 stopBits);
    void Close();
    bool WriteLine(const QByteArray& text);
    // One line into a 100-byte buffer. A line longer than 99 characters is
    // consumed up to its end but reported as over-long (`overLong`) and not
    // stored beyond the buffer. False after 12 empty reads in a row.
    bool ReceiveLine(QByteArray& buffer, bool* overLong = nullptr);
    void FlushInput();

    bool IsOpen() const { return m_device != nullptr; }
    QString PortName() const { return m_portName; }

private:
    EventPump& m_pump;
    SerialDeviceFactory m_factory;
    QString m_portName = QStringLiteral("COM1");
    std::unique_ptr<SerialDevice> m_device;
    LineSettings m_lineSettings;
    TimeoutProfile m_profile = TimeoutProfile::Standard;
};
