// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/event_pump.h"

#include <QDateTime>
#include <functional>
#include <map>
#include <memory>

// Test pump on virtual time: a pause advances the clock at once and fires the
// callbacks scheduled up to the new time, in time order. Callbacks may
// schedule further callbacks (a repeating "Timer1" reschedules itself).
class VirtualClock final : public EventPump {
public:
    using Callback = std::function<void()>;

    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 1, 15), QTime(10, 0, 0)));

    void ProcessMessages() override;
    void Sleep(int ms) override;
    QDateTime Now() const override;

    // Runs cb when virtual time reaches (now + ms).
    void At(qint64 ms, Callback cb);
    // Runs cb every periodMs from (now + periodMs) on, for as long as it returns true.
    void Every(qint64 periodMs, std::function<bool()> cb);
    // Runs cb once, at the next ProcessMessages or Sleep (a "pending event").
    void Post(Callback cb);
    // Advances the clock without a caller's pause (as if the program idled).
    void Advance(qint64 ms);

    qint64 ElapsedMs() const { return m_nowMs; }
    int ProcessMessagesCalls() const { return m_processCalls; }

private:
    void ScheduleEvery(qint64 periodMs, std::shared_ptr<std::function<bool()>> cb);

    QDateTime m_start;
    qint64 m_nowMs = 0;
    int m_processCalls = 0;
    quint64 m_sequence = 0;
    std::multimap<std::pair<qint64, quint64>, Callback> m_queue;
};
