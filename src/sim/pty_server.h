// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/sim_wire.h"

#include <QString>
#include <atomic>
#include <memory>
#include <vector>

// Serves simulated instruments on pseudo-terminals in real time. Each one
// gets a pty in raw mode whose device name is linked as `linkPath` (for
// instance <program folder>/ports/COM7), so the station opens it like any
// serial device. The server keeps its own slave side open, so the station
// may open and close the port as often as it likes.
class PtyServer {
public:
    PtyServer();
    ~PtyServer();

    // False (with `error` set) when no pty could be made or the link not written.
    bool Add(std::shared_ptr<SimWire> wire, const QString& linkPath, QString* error = nullptr);
    // When the cables are pulled and plugged back in, on the clock of Run
    // (ms after its start; -1 never) or on request: a request of kPull or
    // kPlugBack in `request` is carried out at once and the request cleared.
    struct Plugging {
        static constexpr int kNone = 0;
        static constexpr int kPull = 1;
        static constexpr int kPlugBack = 2;
        qint64 unplugAfterMs = -1;
        qint64 replugAfterMs = -1;
        std::atomic<int>* request = nullptr;
    };
    // Serves until `stop` becomes true. Pulling a cable closes its pty (the
    // station's device reports a hang-up) and removes its link; plugging it
    // back makes a new pty behind the same link, as a replugged adaptor
    // comes back under the same stable name.
    void Run(const std::atomic<bool>& stop, const Plugging& plugging);
    void Run(const std::atomic<bool>& stop) { Run(stop, Plugging{}); }
    // The slave device names, in the order added.
    QStringList DeviceNames() const;

private:
    struct Served {
        std::shared_ptr<SimWire> wire;
        QString link;
        QString device;
        int master = -1;
        int slave = -1;
        QByteArray unsent;
    };
    void Unplug(Served& served);
    bool Plug(Served& served, QString* error);
    std::vector<Served> m_served;
};
