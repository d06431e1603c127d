// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/tune_frequency.h"

#include <cstdio>
#include <utility>

void WaitWithStop(EventPump& pump, const StopRequest& stopRequested, int ms)
{
    const int steps = ms > 0 ? ms / 100 : 0;
    for (int step = 0; step < steps; ++step) {
        pump.Sleep(100);
        pump.ProcessMessages();
        if (stopRequested && stopRequested())
            return;
    }
}

InstrumentSession::InstrumentSession(AnalyserCommands& link, EventPump& pump, StopRequest stopRequested)
    : m_link(link), m_pump(pump), m_stopRequested(std::move(stopRequested))
{
}

void InstrumentSession::WaitWithStop(int ms)
{
    ::WaitWithStop(m_pump, m_stopRequested, ms);
}

void InstrumentSession::SendWithWaits(const QByteArray& command, int waitBeforeMs, int waitAfterMs)
{
    WaitWithStop(waitBeforeMs);
    (void)m_link.SendCommand(command);
    WaitWithStop(waitAfterMs);
}

void InstrumentSession::SelectStandard(int standardCode, const QByteArray& selectCommand, bool letMessagesRun)
{
    if (m_link.QueryCode("*?SA") == standardCode)
        return;
    (void)m_link.SendCommand(selectCommand);
    WaitWithStop(3000);
    if (letMessagesRun)
        ProcessMessages();
}

bool InstrumentSession::IsReady(int readyCode)
{
    return m_link.QueryCode("*?ST") == readyCode;
}

bool InstrumentSession::IsReady(int readyCode, int otherReadyCode)
{
    const int status = m_link.QueryCode("*?ST");
    return status == readyCode || status == otherReadyCode;
}

QByteArray FrequencyCommand(float kHz)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "*FR%07.0f", static_cast<double>(kHz));
    return QByteArray(buffer);
}

void TuneFrequency(InstrumentSession& session, const TestPoint& testPoint, float kHz)
{
    const QByteArray command = FrequencyCommand(kHz);
    if (testPoint.band == QLatin1String("SAT") && kHz <= 1000000.0f)
        session.SendWithWaits("*FR1500000", 500, 2000);
    if (testPoint.band == QLatin1String("TER") && kHz >= 950000.0f)
        session.SendWithWaits("*FR0500000", 500, 2000);
    session.SendWithWaits(command, 500, 2000);
}
