// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/serial_port.h"

#include "instrument/instrument_log.h"
#include "platform/event_pump.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>

int ComNumber(const QString& portName)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM([0-9]+)$"));
    const QRegularExpressionMatch match = pattern.match(portName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

ReadTimeouts TimeoutsOf(TimeoutProfile profile)
{
    switch (profile) {
    case TimeoutProfile::Standard: return {kMaxDword, kMaxDword, 2000};
    case TimeoutProfile::Short: return {kMaxDword, kMaxDword, 200};
    case TimeoutProfile::Interval: return {700, 5, 1000};
    }
    return {kMaxDword, kMaxDword, 2000};
}

TSerialPort::TSerialPort(EventPump& pump, SerialDeviceFactory factory)
    : m_pump(pump), m_factory(std::move(factory)), m_timeouts(TimeoutsOf(TimeoutProfile::Standard))
{
}

TSerialPort::~TSerialPort()
{
    Close();
}

void TSerialPort::SelectPort(int index)
{
    Close();
    if (index < 0 || index > 39)
        return;
    m_portName = QStringLiteral("COM%1").arg(index + 1);
}

bool TSerialPort::Open()
{
    Close();
    const int number = ComNumber(m_portName);
    if (number > 9)
        m_portName = QStringLiteral("\\\\.\\COM%1").arg(number);
    if (m_factory)
        m_device = m_factory(m_portName);
    if (!m_device) {
        qCDebug(lcInstrument) << "open failed" << m_portName;
        return false;
    }
    m_device->Purge(kPurgeTxClear);
    m_device->Purge(kPurgeRxClear);
    m_gone = false;
    qCDebug(lcInstrument) << "opened" << m_portName;
    return true;
}

bool TSerialPort::Reopen()
{
    Close();
    if (!Open())
        return false;
    if (m_configured) {
        Configure(m_profile, m_lineSettings.baudRate, m_lineSettings.byteSize, m_lineSettings.parity,
                  m_lineSettings.stopBits);
        SettleAfterConfigure();
    }
    return true;
}

void TSerialPort::SettleAfterConfigure()
{
    m_pump.Sleep(kSettleAfterConfigureMs);
    FlushInput();
}

void TSerialPort::DropGoneDevice()
{
    qCDebug(lcInstrument) << "device gone" << m_portName;
    m_gone = true;
    Close();
}

bool TSerialPort::Configure(TimeoutProfile profile, quint32 baudRate, quint8 byteSize, quint8 parity,
                            quint8 stopBits)
{
    bool result = false;
    if (m_device && m_device->GetLineSettings(m_lineSettings)) {
        result = true;
        m_lineSettings.baudRate = baudRate;
        m_lineSettings.byteSize = byteSize;
        m_lineSettings.parity = parity;
        m_lineSettings.stopBits = stopBits;
        m_configured = true;
        // A driver that refuses the settings keeps its old ones; the port is
        // still usable, so this is not a failure of Configure.
        if (m_device->SetLineSettings(m_lineSettings)) {
            m_profile = profile;
            m_timeouts = TimeoutsOf(profile);
            (void)m_device->SetTimeouts(m_timeouts);
            m_device->SetDtr(true);
            m_device->SetRts(true);
            m_device->Purge(kPurgeTxClear);
            m_device->Purge(kPurgeRxClear);
        }
    }
    WriteLine(QByteArrayLiteral("*"));
    return result;
}

void TSerialPort::Close()
{
    if (!m_device)
        return;
    m_device->SetRts(false);
    m_device->SetDtr(false);
    m_device.reset();
}

bool TSerialPort::WriteLine(QByteArray& text)
{
    if (text.size() > kMaxCommand)
        text.truncate(kMaxCommand);
    QByteArray line = text;
    line.append(kCr);
    m_pump.ProcessMessages();
    if (!m_device)
        return false;
    int written = 0;
    const bool ok = m_device->Write(line.constData(), static_cast<int>(line.size()), written);
    m_bytesWritten = static_cast<quint32>(written);
    return ok;
}

bool TSerialPort::WriteLine(const QByteArray& text)
{
    QByteArray copy = text;
    return WriteLine(copy);
}

int TSerialPort::ReadBlock(QByteArray& buffer, int count)
{
    m_pump.Sleep(kBlockPauseMs);
    buffer.clear();
    if (!m_device || count <= 0)
        return 0;
    buffer.resize(count);
    int got = 0;
    const bool ok = m_device->Read(buffer.data(), count, got);
    got = std::max(got, 0);
    buffer.truncate(got);
    if (!ok)
        DropGoneDevice();
    return got;
}

bool TSerialPort::ReadOneByte(char& byte)
{
    if (!m_device)
        return false;
    int got = 0;
    const bool ok = m_device->Read(&byte, 1, got);
    m_bytesRead = static_cast<quint32>(got);
    if (!ok)
        DropGoneDevice();
    return ok && got == 1;
}

bool TSerialPort::ReceiveLine(QByteArray& buffer)
{
    buffer.clear();
    bool finished = false;
    bool result = false;
    int idle = 0;
    int count = 0;
    while (!finished && idle < kIdleReads) {
        char byte = 0;
        if (!ReadOneByte(byte)) {
            ++idle;
            result = false;
            continue;
        }
        const bool ends = byte == kCr || byte == kLf || count >= kMaxLine;
        if (ends)
            finished = true;
        ++count;
        m_pump.ProcessMessages();
        idle = 0;
        if (!ends)
            buffer.append(byte);
        result = true;
    }
    // Tabs and every other control character (NUL included, which would
    // otherwise cut the text short) read as spaces.
    for (char& c : buffer) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F)
            c = ' ';
        m_pump.ProcessMessages();
    }
    return result;
}

void TSerialPort::FlushInput()
{
    if (!m_device)
        return;
    const int waiting = m_device->BytesWaiting();
    if (waiting <= 0)
        return;
    QByteArray scratch(waiting, '\0');
    int got = 0;
    if (!m_device->Read(scratch.data(), waiting, got))
        DropGoneDevice();
}

bool TSerialPort::ReadByteIsXon()
{
    char byte = 0;
    return ReadOneByte(byte) && byte == kXon;
}
