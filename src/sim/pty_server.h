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
    // Serves until `stop` becomes true. unplugAfterMs >= 0 pulls every cable
    // (closes the ptys and removes the links) that long after the start.
    void Run(const std::atomic<bool>& stop, qint64 unplugAfterMs = -1);
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
    std::vector<Served> m_served;
};
