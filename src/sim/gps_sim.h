// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/sim_wire.h"

#include <QByteArray>
#include <QString>

// "$" + body + "*" + two hexadecimal digits of the XOR of the body, CR LF.
QByteArray NmeaSentence(const QByteArray& body, bool lowerCaseChecksum = false);

// A simulated GPS receiver: one GGA sentence per period (and an RMC one half
// a period later when `otherSentences` is on), bytes paced at the line speed.
// `talker` names the sender as the sentences do: "GP" for a GPS-only
// receiver, "GN" for one that combines several satellite systems.
class SimGpsReceiver final : public SimWire {
public:
    enum class Mode { Fix, NoFix, BadChecksum, Silent };

    void Receive(const QByteArray& bytes, qint64 nowMs) override;

    Mode mode = Mode::Fix;
    bool lowerCaseChecksum = false;
    bool otherSentences = true;
    QByteArray talker = "GP";
    int periodMs = 1000;
    int baudRate = 9600;
    QByteArray latitude = "4807.038";
    QByteArray ns = "N";
    QByteArray longitude = "01131.000";
    QByteArray ew = "E";

    QByteArray written;  // what the station sent (the "*" of Configure)

    QByteArray GgaBody(qint64 atMs) const;

protected:
    void Advance(qint64 nowMs) override;
    qint64 NextSpontaneousAt(qint64 nowMs) const override;

private:
    qint64 m_nextAt = 500;
};
