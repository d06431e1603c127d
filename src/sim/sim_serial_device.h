// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_device.h"
#include "sim/sim_wire.h"

#include <QMap>
#include <QStringList>
#include <memory>

class VirtualClock;

// A simulated instrument plugged into a COM port, in process, on the
// virtual clock: reads wait in virtual time with the time-out semantics of
// the real driver, so a 24-second silence costs no real time.
class SimSerialDevice final : public SerialDevice {
public:
    struct State {
        LineSettings lineSettings;
        ReadTimeouts timeouts{kMaxDword, kMaxDword, 2000};
        bool dtr = false;
        bool rts = false;
        bool settingsUnreadable = false;   // GetLineSettings fails
        bool settingsRefused = false;      // SetLineSettings fails
        bool open = false;
        QByteArray written;                // every byte the station wrote, in order
        QList<quint32> purges;             // purge flags, in order
    };

    SimSerialDevice(VirtualClock& clock, std::shared_ptr<SimWire> wire, std::shared_ptr<State> state);
    ~SimSerialDevice() override;

    bool GetLineSettings(LineSettings& settings) override;
    bool SetLineSettings(const LineSettings& settings) override;
    bool SetTimeouts(const ReadTimeouts& timeouts) override;
    bool SetDtr(bool raised) override;
    bool SetRts(bool raised) override;
    bool Purge(quint32 flags) override;
    int BytesWaiting() override;
    bool Read(char* data, int count, int& got) override;
    bool Write(const char* data, int count, int& written) override;

private:
    VirtualClock& m_clock;
    std::shared_ptr<SimWire> m_wire;
    std::shared_ptr<State> m_state;
};

// The simulated COM ports of a test: instruments attached by COM number;
// Factory() opens them for TSerialPort as the operating system would (a port
// with nothing attached, or already open, does not open).
class SimPorts {
public:
    explicit SimPorts(VirtualClock& clock) : m_clock(clock) {}

    void Attach(int comNumber, std::shared_ptr<SimWire> wire);
    void Detach(int comNumber);
    SerialDeviceFactory Factory();

    // Every name the station asked to open, in order ("COM9", "\\.\COM10").
    const QStringList& OpenRequests() const { return *m_requests; }
    // The device state of a COM number (created on first use).
    SimSerialDevice::State& StateOf(int comNumber);

private:
    VirtualClock& m_clock;
    QMap<int, std::shared_ptr<SimWire>> m_wires;
    QMap<int, std::shared_ptr<SimSerialDevice::State>> m_states;
    std::shared_ptr<QStringList> m_requests = std::make_shared<QStringList>();
};
