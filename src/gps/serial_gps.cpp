#include "gps/serial_gps.h"

#include "platform/event_pump.h"

#include <utility>

TSerialGPS::TSerialGPS(EventPump& pump, SerialDeviceFactory factory) : m_pump(pump), m_factory(std::move(factory)) {}

TSerialGPS::~TSerialGPS()
{
    Close();
}

void TSerialGPS::SelectPort(int index)
{
    Close();
    if (index < 0 || index > 39)
        return;
    m_portName = QStringLiteral("COM%1").arg(index + 1);
}

bool TSerialGPS::Open()
{
    Close();
    const int number = ComNumber(m_portName);
    if (number > 9)
        m_portName = QStringLiteral("\\\\.\\COM%1").arg(number);
    if (m_factory)
        m_device = m_factory(m_portName);
    if (!m_device)
        return false;
    m_device->Purge(kPurgeTxClear);
    m_device->Purge(kPurgeRxClear);
    return true;
}

bool TSerialGPS::Configure(TimeoutProfile profile, quint32 baudRate, quint8 byteSize, quint8 parity,
                           quint8 stopBits)
{
    bool result = false;
    if (m_device && m_device->GetLineSettings(m_lineSettings)) {
        result = true;
        m_lineSettings.baudRate = baudRate;
        m_lineSettings.byteSize = byteSize;
        m_lineSettings.parity = parity;
        m_lineSettings.stopBits = stopBits;
        if (m_device->SetLineSettings(m_lineSettings)) {
            m_profile = profile;
            // The receiver is only ever read under the standard time-outs.
            (void)m_device->SetTimeouts(TimeoutsOf(TimeoutProfile::Standard));
            m_device->SetDtr(true);
            m_device->SetRts(true);
            m_device->Purge(kPurgeTxClear);
            m_device->Purge(kPurgeRxClear);
        }
    }
    WriteLine(QByteArrayLiteral("*"));
    return result;
}

void TSerialGPS::Close()
{
    if (!m_device)
        return;
    m_device->SetRts(false);
    m_device->SetDtr(false);
    m_device.reset();
}

bool TSerialGPS::WriteLine(const QByteArray& text)
{
    QByteArray line = text.left(TSerialPort::kMaxCommand);
    line.append(kCr);
    m_pump.ProcessMessages();
    if (!m_device)
        return false;
    int written = 0;
    return m_device->Write(line.constData(), static_cast<int>(line.size()), written);
}

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
        int got = 0;
        if (!m_device || !m_device->Read(&byte, 1, got) || got != 1) {
            ++idle;
            result = false;
            if (!m_device)
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

void TSerialGPS::FlushInput()
{
    if (!m_device)
        return;
    const int waiting = m_device->BytesWaiting();
    if (waiting <= 0)
        return;
    QByteArray scratch(waiting, '\0');
    int got = 0;
    (void)m_device->Read(scratch.data(), waiting, got);
}
