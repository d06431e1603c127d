// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/analyser_commands.h"
#include "instrument/test_point.h"
#include "platform/event_pump.h"

#include <QByteArray>
#include <functional>

// The Stop request of a run: true while the main window's Stop button is
// down (or the headless station was asked to stop).
using StopRequest = std::function<bool()>;

// Waits ms milliseconds in steps of 100 ms (ms / 100 steps, rounded down),
// letting window messages run after each step; ends at once when Stop is down.
void WaitWithStop(EventPump& pump, const StopRequest& stopRequested, int ms);

// Everything a tuner or the readout talks through: the analyser, the pump
// for waits and window messages, and the Stop request that cuts waits short.
class InstrumentSession {
public:
    InstrumentSession(AnalyserCommands& link, EventPump& pump, StopRequest stopRequested);

    AnalyserCommands& Link() { return m_link; }
    EventPump& Pump() { return m_pump; }
    bool StopRequested() const { return m_stopRequested && m_stopRequested(); }

    void WaitWithStop(int ms);
    void ProcessMessages() { m_pump.ProcessMessages(); }

    // Waits, sends, waits. A refused command is not retried and changes
    // nothing: the analyser then shows whatever it shows, and the run
    // measures that.
    void SendWithWaits(const QByteArray& command, int waitBeforeMs, int waitAfterMs);

    // The standard selection that starts every digital tuner: sends select
    // only when "*?SA" reports another standard, then waits 3 s.
    void SelectStandard(int standardCode, const QByteArray& selectCommand, bool letMessagesRun = true);

    // "*?ST" equals the type's ready code: the analyser has locked and needs
    // no further parameters.
    bool IsReady(int readyCode);
    bool IsReady(int readyCode, int otherReadyCode);

private:
    AnalyserCommands& m_link;
    EventPump& m_pump;
    StopRequest m_stopRequested;
};

// "*FR%07.0f" for a frequency in kHz.
QByteArray FrequencyCommand(float kHz);

// Band pre-tune and frequency command. A frequency that both bands can hold
// (950 to 1000 MHz) is approached from inside the test point's band, so the
// analyser's input switches to the right band first.
void TuneFrequency(InstrumentSession& session, const TestPoint& testPoint, float kHz);
