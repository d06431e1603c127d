// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/virtual_clock.h"

#include <algorithm>
#include <utility>

VirtualClock::VirtualClock(QDateTime start) : m_start(std::move(start)) {}

void VirtualClock::ProcessMessages()
{
    ++m_processCalls;
    Advance(0);
}

void VirtualClock::Sleep(int ms)
{
    Advance(ms > 0 ? ms : 0);
}

QDateTime VirtualClock::Now() const
{
    return m_start.addMSecs(m_nowMs);
}

void VirtualClock::At(qint64 ms, Callback cb)
{
    m_queue.emplace(std::make_pair(m_nowMs + (ms > 0 ? ms : 0), m_sequence++), std::move(cb));
}

void VirtualClock::Every(qint64 periodMs, std::function<bool()> cb)
{
    ScheduleEvery(periodMs, std::make_shared<std::function<bool()>>(std::move(cb)));
}

void VirtualClock::ScheduleEvery(qint64 periodMs, std::shared_ptr<std::function<bool()>> cb)
{
    At(periodMs, [this, periodMs, cb]() {
        if ((*cb)())
            ScheduleEvery(periodMs, cb);
    });
}

void VirtualClock::Post(Callback cb)
{
    At(0, std::move(cb));
}

void VirtualClock::Advance(qint64 ms)
{
    const qint64 target = m_nowMs + ms;
    // Fire everything due up to the target, letting each callback see its own time.
    while (!m_queue.empty() && m_queue.begin()->first.first <= target) {
        auto it = m_queue.begin();
        m_nowMs = std::max(m_nowMs, it->first.first);
        Callback cb = std::move(it->second);
        m_queue.erase(it);
        cb();
    }
    m_nowMs = std::max(m_nowMs, target);
}

