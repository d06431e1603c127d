// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/gps_sim.h"

QByteArray NmeaSentence(const QByteArray& body, bool lowerCaseChecksum)
{
    quint8 sum = 0;
    for (char c : body)
        sum ^= static_cast<quint8>(c);
    QByteArray hex = QByteArray::number(sum, 16).rightJustified(2, '0');
    hex = lowerCaseChecksum ? hex.toLower() : hex.toUpper();
    return '$' + body + '*' + hex + "\r\n";
}

void SimGpsReceiver::Receive(const QByteArray& bytes, qint64)
{
    written += bytes;
}

QByteArray SimGpsReceiver::GgaBody(qint64 atMs) const
{
    const qint64 seconds = (atMs / 1000) % 86400;
    const QByteArray time = QByteArray::number(seconds / 3600).rightJustified(2, '0')
        + QByteArray::number(seconds / 60 % 60).rightJustified(2, '0')
        + QByteArray::number(seconds % 60).rightJustified(2, '0');
    const char* quality = mode == Mode::NoFix ? "0" : "1";
    return talker + "GGA," + time + ',' + latitude + ',' + ns + ',' + longitude + ',' + ew + ',' + quality
        + ",08,0.9,545.4,M,46.9,M,,";
}

void SimGpsReceiver::Advance(qint64 nowMs)
{
    if (mode == Mode::Silent || unplugged)
        return;
    const double byteMs = 10000.0 / baudRate;
    while (m_nextAt <= nowMs) {
        if (Pending() < 4096) {
            QByteArray gga = NmeaSentence(GgaBody(m_nextAt), lowerCaseChecksum);
            if (mode == Mode::BadChecksum)
                gga[gga.size() - 3] = gga[gga.size() - 3] == '0' ? '1' : '0';
            Emit(m_nextAt, gga, byteMs);
            // Another sentence half a period later, as receivers interleave them.
            if (otherSentences)
                Emit(m_nextAt + periodMs / 2,
                     NmeaSentence(talker + "RMC,123519,A," + latitude + ',' + ns + ',' + longitude + ',' + ew
                                  + ",022.4,084.4,230394,003.1,W"),
                     byteMs);
        }
        m_nextAt += periodMs;
    }
}

qint64 SimGpsReceiver::NextSpontaneousAt(qint64) const
{
    return mode == Mode::Silent ? -1 : m_nextAt;
}
