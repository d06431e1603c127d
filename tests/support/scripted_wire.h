// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/sim_wire.h"

#include <QByteArray>
#include <QList>
#include <algorithm>

// A bare instrument for byte-level tests: sends exactly the bytes a test
// queues, when it queues them, and records what the station wrote. With
// `handshake` on it answers every line with XOFF, ACK and the next scripted
// reply, and offers one XON whenever it is idle.
class ScriptedWire final : public SimWire {
public:
    // `byteMs` paces the bytes as a line of that speed would (0: all at once).
    void Send(qint64 atMs, const QByteArray& bytes, double byteMs = 0.0) { Emit(atMs, bytes, byteMs); }
    void Receive(const QByteArray& bytes, qint64 nowMs) override
    {
        written += bytes;
        if (!handshake)
            return;
        for (char c : bytes) {
            if (c != '\r')
                continue;
            qint64 t = std::max(nowMs, LastEmitAt()) + 1;
            Emit(t, QByteArray("\x13\x06", 2));
            if (!replies.isEmpty())
                Emit(t + 1, replies.takeFirst());
            Emit(LastEmitAt() + 1, QByteArray(1, 0x11));
        }
    }

    bool handshake = false;
    QList<QByteArray> replies;  // raw bytes, line end included
    QByteArray written;

protected:
    void Advance(qint64) override {}
    qint64 NextSpontaneousAt(qint64) const override { return -1; }
};
