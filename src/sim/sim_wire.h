// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <utility>

// One simulated instrument as seen from the station's side of its cable:
// bytes go in at a time, bytes come out on a timeline (milliseconds on any
// clock: the virtual clock of the tests or the real one of the pty server).
class SimWire {
public:
    virtual ~SimWire() = default;

    // Bytes written by the station at nowMs.
    virtual void Receive(const QByteArray& bytes, qint64 nowMs) = 0;

    // Output bytes due by nowMs, at most max (all when max < 0).
    QByteArray Take(qint64 nowMs, int max = -1);
    // Number of output bytes due by nowMs.
    int Waiting(qint64 nowMs);
    // Drops the bytes due by nowMs (the station purged its receive queue).
    void DiscardDue(qint64 nowMs);
    // Time of the next output byte, scheduled or spontaneous; -1 when none.
    qint64 NextOutputAt(qint64 nowMs);

    // The cable is pulled: the device fails every call.
    bool unplugged = false;

protected:
    // Generates the spontaneous output (idle XON, periodic sentences) due by nowMs.
    virtual void Advance(qint64 nowMs) = 0;
    // When the next spontaneous output would come after nowMs; -1 when never.
    virtual qint64 NextSpontaneousAt(qint64 nowMs) const = 0;
    // Queues bytes from `at` on, one every byteMs (never before bytes queued earlier).
    void Emit(qint64 at, const QByteArray& bytes, double byteMs = 0.0);
    qint64 LastEmitAt() const { return m_lastAt; }
    int Pending() const { return static_cast<int>(m_out.size()); }

private:
    std::deque<std::pair<qint64, char>> m_out;
    qint64 m_lastAt = 0;
};
