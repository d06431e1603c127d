// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/analyser_link.h"

#include "instrument/instrument_log.h"
#include "platform/event_pump.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

int ReadHexAfter(const QByteArray& text, int skip)
{
    if (text.size() <= skip)
        return 0;
    // Reading stops at the first NUL, as on the C buffer the protocol assumes.
    const QByteArray rest = text.mid(skip);
    return static_cast<int>(std::strtol(rest.constData(), nullptr, 16));
}

AnalyserLink::AnalyserLink(EventPump& pump, SerialDeviceFactory factory, int& modelCode)
    : m_pump(pump), m_port(pump, std::move(factory)), m_modelCode(modelCode)
{
}

bool AnalyserLink::WaitForByte(quint8 wanted)
{
    if (!m_port.IsOpen())
        return false;
    int idle = 0;
    int others = 0;
    while (idle < kIdleReads) {
        char byte = 0;
        if (!m_port.ReadOneByte(byte)) {
            ++idle;
            // An unplugged device fails at once; do not spin on it.
            if (!m_port.IsOpen())
                return false;
            continue;
        }
        idle = 0;
        const auto got = static_cast<quint8>(byte);
        if (got == wanted)
            return true;
        if (wanted == static_cast<quint8>(kAck)) {
            qCDebug(lcInstrument) << "refused with" << Qt::hex << got;
            return false;
        }
        if (m_port.Profile() == TimeoutProfile::Short && wanted == static_cast<quint8>(kXon)
            && ++others > kShortNoiseLimit)
            return false;
    }
    return false;
}

bool AnalyserLink::SendCommand(const QByteArray& command)
{
    if (!WaitForByte(kXon))
        return false;
    if (!m_port.WriteLine(command))
        return false;
    const bool taken = WaitForByte(kXoff);
    m_pump.ProcessMessages();
    if (!taken)
        return false;
    const bool accepted = WaitForByte(kAck);
    m_pump.ProcessMessages();
    qCDebug(lcInstrument) << command << (accepted ? "accepted" : "not accepted");
    return accepted;
}

bool AnalyserLink::Query(QByteArray& buffer)
{
    m_pump.Sleep(kQueryPauseMs);
    if (!SendCommand(buffer))
        return false;
    m_pump.ProcessMessages();
    const bool result = m_port.ReceiveLine(buffer);
    m_pump.ProcessMessages();
    return result;
}

int AnalyserLink::QueryCode(const QByteArray& query)
{
    QByteArray buffer = query;
    (void)Query(buffer);
    // The reply line lands on the query's own buffer, ended by a NUL: a reply
    // of fewer than 3 characters leaves the query's 4th character to be read
    // (for "*?SA" the letter A, 10), one of exactly 3 reads as nothing (0).
    QByteArray overlaid = query;
    overlaid.replace(0, std::min(buffer.size() + 1, overlaid.size()), buffer + '\0');
    return ReadHexAfter(overlaid, 3);
}

int AnalyserLink::SendAndReadBlock(const QByteArray& command, QByteArray& buffer, int count)
{
    if (!SendCommand(command)) {
        buffer.clear();
        return 0;
    }
    return m_port.ReadBlock(buffer, count);
}

bool AnalyserLink::IdentifyAnalyser(QByteArray& buffer)
{
    m_modelCode = kNoModel;
    m_pump.ProcessMessages();
    if (SendCommand(buffer)) {
        m_pump.ProcessMessages();
        (void)m_port.ReceiveLine(buffer);
        m_pump.ProcessMessages();
    }
    buffer = buffer.size() >= 3 ? buffer.mid(3) : QByteArray();
    const int code = FindModelCode(QString::fromLatin1(buffer));
    if (code != kNoModel) {
        const ModelFamily family = kAnalyserModels[code].family;
        if (selectFamily)
            selectFamily(family);
        else
            m_modelCode = RepresentativeModelCode(family);
        m_modelCode = code;
    }
    return m_modelCode >= 0;
}
