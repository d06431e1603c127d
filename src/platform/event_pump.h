// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// Every wait, pause and "let pending window events run" of the station goes
// through this port, so that tests can run hours of station time in no time.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Lets pending window events (paints, timers, button presses) run.
    virtual void ProcessMessages() = 0;
    // Pauses for ms milliseconds while window events keep running.
    virtual void Sleep(int ms) = 0;
    virtual QDateTime Now() const = 0;
};

// Production pump: pauses run a local event loop with a single-shot timer, so
// the window stays live and the CPU idle.
class QtEventPump final : public EventPump {
public:
    void ProcessMessages() override;
    void Sleep(int ms) override;
    QDateTime Now() const override;
};
