// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

// What the serial ports of the station ask of the operating system: one open
// device, its line settings, read time-outs with the semantics the protocol
// was written against, the modem lines, purge, the receive-queue count, read,
// write. PosixSerialDevice implements it on a terminal device; the simulated
// analyser and GPS receiver implement it in memory.

inline constexpr quint32 kMaxDword = 0xFFFFFFFFu;

// The four line settings the station states. Parity 0 is none, stop bits 0
// is one stop bit (the driver's own numbering).
struct LineSettings {
    quint32 baudRate = 9600;
    quint8 byteSize = 8;
    quint8 parity = 0;
    quint8 stopBits = 0;
};

// Read time-outs. Two shapes are used:
// - interval == multiplier == kMaxDword, 0 < constant < kMaxDword: a read
//   returns at once with whatever has been received (up to the count asked
//   for); with nothing received it waits up to `constant` ms for the first
//   byte and returns as soon as bytes arrive.
// - otherwise: a read returns once the count has arrived, once `interval` ms
//   pass between two bytes (after the first), or after
//   constant + multiplier * count ms in all.
struct ReadTimeouts {
    quint32 interval = 0;
    quint32 multiplier = 0;
    quint32 constant = 0;
};

enum PurgeFlag : quint32 {
    kPurgeTxClear = 0x04,
    kPurgeRxClear = 0x08,
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    [[nodiscard]] virtual bool GetLineSettings(LineSettings& settings) = 0;
    [[nodiscard]] virtual bool SetLineSettings(const LineSettings& settings) = 0;
    [[nodiscard]] virtual bool SetTimeouts(const ReadTimeouts& timeouts) = 0;
    // A device without modem lines succeeds quietly.
    virtual bool SetDtr(bool raised) = 0;
    virtual bool SetRts(bool raised) = 0;
    virtual bool Purge(quint32 flags) = 0;
    // Bytes waiting in the receive queue; -1 when the device cannot tell.
    virtual int BytesWaiting() = 0;
    // Reads up to `count` bytes under the current time-outs. False when the
    // device failed (unplugged); `got` is the number of bytes stored in `data`.
    [[nodiscard]] virtual bool Read(char* data, int count, int& got) = 0;
    [[nodiscard]] virtual bool Write(const char* data, int count, int& written) = 0;
};

// Opens the device that a port name stands for ("COM3", "\\.\COM12"),
// exclusively; nullptr when it does not exist or is in use.
using SerialDeviceFactory = std::function<std::unique_ptr<SerialDevice>(const QString& portName)>;

// "COM12" and "\\.\COM12" both give 12; 0 for anything else.
int ComNumber(const QString& portName);
