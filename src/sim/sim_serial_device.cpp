// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_serial_device.h"

#include "sim/virtual_clock.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr qint64 kMaxStepMs = 50;
}

SimSerialDevice::SimSerialDevice(VirtualClock& clock, std::shared_ptr<SimWire> wire, std::shared_ptr<State> state)
    : m_clock(clock), m_wire(std::move(wire)), m_state(std::move(state))
{
    m_state->open = true;
}

SimSerialDevice::~SimSerialDevice()
{
    m_state->open = false;
}

bool SimSerialDevice::GetLineSettings(LineSettings& settings)
{
    if (m_state->settingsUnreadable || m_wire->unplugged)
        return false;
    settings = m_state->lineSettings;
    return true;
}

bool SimSerialDevice::SetLineSettings(const LineSettings& settings)
{
    if (m_state->settingsRefused || m_wire->unplugged)
        return false;
    m_state->lineSettings = settings;
    return true;
}

bool SimSerialDevice::SetTimeouts(const ReadTimeouts& timeouts)
{
    m_state->timeouts = timeouts;
    return true;
}

bool SimSerialDevice::SetDtr(bool raised)
{
    m_state->dtr = raised;
    return true;
}

bool SimSerialDevice::SetRts(bool raised)
{
    m_state->rts = raised;
    return true;
}

bool SimSerialDevice::Purge(quint32 flags)
{
    m_state->purges.append(flags);
    if (flags & kPurgeRxClear)
        m_wire->DiscardDue(m_clock.ElapsedMs());
    return true;
}

int SimSerialDevice::BytesWaiting()
{
    if (m_wire->unplugged)
        return -1;
    return m_wire->Waiting(m_clock.ElapsedMs());
}

bool SimSerialDevice::Read(char* data, int count, int& got)
{
    got = 0;
    if (m_wire->unplugged)
        return false;
    if (count <= 0)
        return true;
    const ReadTimeouts t = m_state->timeouts;
    const bool constantOnly = t.interval == kMaxDword && t.multiplier == kMaxDword;
    const qint64 start = m_clock.ElapsedMs();
    const qint64 deadline = start + (constantOnly ? t.constant : t.constant + qint64(t.multiplier) * count);
    qint64 lastByteAt = -1;
    for (;;) {
        const qint64 now = m_clock.ElapsedMs();
        const QByteArray bytes = m_wire->Take(now, count - got);
        if (!bytes.isEmpty()) {
            std::memcpy(data + got, bytes.constData(), static_cast<size_t>(bytes.size()));
            got += static_cast<int>(bytes.size());
            lastByteAt = now;
            if (constantOnly || got >= count)
                return true;
        }
        qint64 until = deadline;
        if (!constantOnly && lastByteAt >= 0 && t.interval > 0)
            until = std::min<qint64>(until, lastByteAt + t.interval);
        if (now >= until)
            return true;
        qint64 step = until - now;
        const qint64 next = m_wire->NextOutputAt(now);
        if (next >= 0)
            step = std::min(step, std::max<qint64>(next - now, 1));
        m_clock.Sleep(static_cast<int>(std::min(step, kMaxStepMs)));
        if (m_wire->unplugged)
            return false;
    }
}

bool SimSerialDevice::Write(const char* data, int count, int& written)
{
    written = 0;
    if (m_wire->unplugged)
        return false;
    const QByteArray bytes(data, count);
    m_state->written.append(bytes);
    m_wire->Receive(bytes, m_clock.ElapsedMs());
    written = count;
    return true;
}

void SimPorts::Attach(int comNumber, std::shared_ptr<SimWire> wire)
{
    m_wires[comNumber] = std::move(wire);
}

void SimPorts::Detach(int comNumber)
{
    m_wires.remove(comNumber);
}

SimSerialDevice::State& SimPorts::StateOf(int comNumber)
{
    auto& state = m_states[comNumber];
    if (!state)
        state = std::make_shared<SimSerialDevice::State>();
    return *state;
}

SerialDeviceFactory SimPorts::Factory()
{
    return [this](const QString& portName) -> std::unique_ptr<SerialDevice> {
        m_requests->append(portName);
        const int number = ComNumber(portName);
        // The operating system knows "COM10" and above only by the \\.\ form.
        if (number > 9 && !portName.startsWith(QLatin1String("\\\\.\\")))
            return nullptr;
        const auto wire = m_wires.value(number);
        if (!wire || wire->unplugged)
            return nullptr;
        StateOf(number);
        const auto state = m_states.value(number);
        if (state->open)
            return nullptr;
        return std::make_unique<SimSerialDevice>(m_clock, wire, state);
    };
}
