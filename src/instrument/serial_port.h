// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_device.h"

#include <QByteArray>
#include <QString>
#include <memory>

class EventPump;

// Read time-out profiles of the analyser port.
enum class TimeoutProfile : quint32 {
    Standard = 0,  // a one-byte read waits up to 2000 ms for its byte
    Short = 1,     // the same with 200 ms
    Interval = 2,  // 700 ms between bytes, 1000 ms + 5 ms per byte in all
};

ReadTimeouts TimeoutsOf(TimeoutProfile profile);

inline constexpr char kXon = 0x11;
inline constexpr char kXoff = 0x13;
inline constexpr char kAck = 0x06;
inline constexpr char kCr = 0x0D;
inline constexpr char kLf = 0x0A;

// The analyser's COM port: byte-level operations over one SerialDevice.
// Nothing here shows a message; every operation reports by its result, and
// pending window events run before each write, after each received byte and
// while the received text is cleaned, so long reads keep the window alive.
class TSerialPort {
public:
    static constexpr int kMaxCommand = 252;  // characters of a command line before its CR
    static constexpr int kMaxLine = 255;     // characters of a reply line
    static constexpr int kIdleReads = 12;    // empty reads that end a line
    static constexpr int kBlockPauseMs = 100;

    TSerialPort(EventPump& pump, SerialDeviceFactory factory);
    ~TSerialPort();
    TSerialPort(const TSerialPort&) = delete;
    TSerialPort& operator=(const TSerialPort&) = delete;

    // Closes the port, then names it "COM<index + 1>"; an index outside 0..39
    // keeps the previous name.
    void SelectPort(int index);
    // Closes the port, then opens the device of the selected name (numbers
    // above 9 under the "\\.\COM" form, which becomes the recorded name) and
    // purges both directions.
    [[nodiscard]] bool Open();
    // Line settings, time-outs, modem lines and purge; always ends by sending
    // "*" CR. False only when the current line settings cannot be read.
    bool Configure(TimeoutProfile profile, quint32 baudRate, quint8 byteSize, quint8 parity,
                   quint8 stopBits);
    // Lets the answer to the "*" that Configure sends arrive, then discards
    // it: an idle XON queued before that answer would otherwise let the next
    // command go out while the analyser still answers "*", and the reply
    // line would be read with its handshake bytes in front.
    void SettleAfterConfigure();
    static constexpr int kSettleAfterConfigureMs = 200;
    // Drops RTS, then DTR, and closes.
    void Close();

    // Sends the text (cut to its first 252 characters, in place) and one CR.
    bool WriteLine(QByteArray& text);
    bool WriteLine(const QByteArray& text);
    // Pauses 100 ms, then one read of up to `count` bytes into `buffer`.
    int ReadBlock(QByteArray& buffer, int count);
    // One reply line (CR or LF ends it, at most 255 characters); control
    // characters read as spaces. False after 12 empty reads in a row; the
    // buffer then holds what arrived before the silence.
    bool ReceiveLine(QByteArray& buffer);
    // Discards the bytes already waiting in the receive queue.
    void FlushInput();
    // One single-byte read: true when a byte came and it is XON.
    bool ReadByteIsXon();
    // One single-byte read under the active profile.
    [[nodiscard]] bool ReadOneByte(char& byte);

    // The device failed under a read (an adaptor pulled out): the port was
    // closed at once, so every wait on it ends without spinning. Cleared by the
    // next successful Open.
    bool DeviceGone() const { return m_gone; }
    // Closes the port and opens the same COM name again with the line
    // settings and profile of the last Configure; false while the device is
    // still missing.
    [[nodiscard]] bool Reopen();

    bool IsOpen() const { return m_device != nullptr; }
    QString PortName() const { return m_portName; }
    TimeoutProfile Profile() const { return m_profile; }
    quint32 BytesWritten() const { return m_bytesWritten; }
    quint32 BytesRead() const { return m_bytesRead; }
    EventPump& Pump() const { return m_pump; }

private:
    // A read the device failed (not a time-out): the device is gone.
    void DropGoneDevice();

    EventPump& m_pump;
    SerialDeviceFactory m_factory;
    QString m_portName = QStringLiteral("COM1");
    std::unique_ptr<SerialDevice> m_device;
    LineSettings m_lineSettings;
    quint32 m_bytesWritten = 0;
    quint32 m_bytesRead = 0;
    ReadTimeouts m_timeouts;
    TimeoutProfile m_profile = TimeoutProfile::Standard;
    bool m_gone = false;
    bool m_configured = false;
};
