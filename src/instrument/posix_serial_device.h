// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_device.h"

#include <QString>
#include <memory>

class EventPump;

// A terminal device in raw mode without software flow control, so XON, XOFF
// and ACK arrive as data. Waits poll() in short slices and let pending window
// events run between them: a 2-second byte wait never freezes the window.
class PosixSerialDevice final : public SerialDevice {
public:
    // Opens `path` for reading and writing, as an existing device, with an
    // exclusive advisory lock; nullptr when that fails.
    static std::unique_ptr<PosixSerialDevice> OpenPath(const QString& path, EventPump& pump);
    ~PosixSerialDevice() override;

    bool GetLineSettings(LineSettings& settings) override;
    bool SetLineSettings(const LineSettings& settings) override;
    bool SetTimeouts(const ReadTimeouts& timeouts) override;
    bool SetDtr(bool raised) override;
    bool SetRts(bool raised) override;
    bool Purge(quint32 flags) override;
    int BytesWaiting() override;
    bool Read(char* data, int count, int& got) override;
    bool Write(const char* data, int count, int& written) override;

    static constexpr int kSliceMs = 20;

private:
    PosixSerialDevice(int fd, EventPump& pump);
    bool SetModemLine(int line, bool raised);
    // Waits up to ms for input; 1 ready, 0 time-out, -1 device gone.
    int WaitReadable(qint64 ms);
    // Reads what is there, up to count; -1 on a device error.
    int ReadAvailable(char* data, int count);

    int m_fd;
    EventPump& m_pump;
    ReadTimeouts m_timeouts{kMaxDword, kMaxDword, 2000};
};

// Factory for TSerialPort: resolves COM names (ports/COMn links, then the
// default table unless switched off) and opens the device.
SerialDeviceFactory PosixSerialDeviceFactory(EventPump& pump, bool useDefaultTable = true);
