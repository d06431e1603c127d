// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_wire.h"

#include <algorithm>
#include <cmath>

QByteArray SimWire::Take(qint64 nowMs, int max)
{
    Advance(nowMs);
    QByteArray out;
    while (!m_out.empty() && m_out.front().first <= nowMs && (max < 0 || out.size() < max)) {
        out.append(m_out.front().second);
        m_out.pop_front();
    }
    return out;
}

int SimWire::Waiting(qint64 nowMs)
{
    Advance(nowMs);
    int n = 0;
    for (const auto& entry : m_out) {
        if (entry.first > nowMs)
            break;
        ++n;
    }
    return n;
}

void SimWire::DiscardDue(qint64 nowMs)
{
    Advance(nowMs);
    while (!m_out.empty() && m_out.front().first <= nowMs)
        m_out.pop_front();
}

qint64 SimWire::NextOutputAt(qint64 nowMs)
{
    Advance(nowMs);
    if (!m_out.empty())
        return m_out.front().first;
    return NextSpontaneousAt(nowMs);
}

void SimWire::Emit(qint64 at, const QByteArray& bytes, double byteMs)
{
    const qint64 start = std::max(at, m_lastAt);
    for (int i = 0; i < bytes.size(); ++i) {
        const qint64 t = start + static_cast<qint64>(std::floor(i * byteMs));
        m_out.emplace_back(t, bytes[i]);
        m_lastAt = t;
    }
}
