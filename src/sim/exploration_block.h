// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The analyser's stored exploration in its transfer form: an 11-byte head,
// the 16-bit little-endian channel count at offset 11, filler up to a 0xFF
// marker (at offset 14 or later) and four more bytes, then one record per
// channel: 8-byte NUL-padded name, F1 and F2 in kHz (signed 32-bit little
// endian), 5-byte parameter items, and a 10-byte end that starts with 0xFF.
struct ExplorationItem {
    quint8 tag = 0;      // 1 analogue system, 2 standard, 3 LNB, 4 bandwidth, 5 symbol rate,
                         // 6 inversion, 7 modulation, 8 carriers, 9 guard, 11 code rate
    quint8 code = 0;
    quint8 subCode = 0;
    qint32 number = 0;   // tags 4 (kHz) and 5 (symbols/s) carry a number instead

    static ExplorationItem Code(quint8 tag, quint8 code, quint8 subCode = 0) { return {tag, code, subCode, 0}; }
    static ExplorationItem Number(quint8 tag, qint32 value) { return {tag, 0, 0, value}; }
};

struct ExplorationChannel {
    QByteArray name;  // up to 8 characters
    qint32 f1KHz = 0;
    qint32 f2KHz = 0;
    QList<ExplorationItem> items;
};

struct StoredExploration {
    QString name;
    QList<ExplorationChannel> channels;
    QByteArray raw;  // when set, sent as the block instead of the encoded channels
};

QByteArray EncodeExplorationBlock(const QList<ExplorationChannel>& channels);

// The explorations a fresh simulated analyser holds: band "02" terrestrial, "05" satellite.
QList<StoredExploration> DefaultExplorations(const QString& band);
