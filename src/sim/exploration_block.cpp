// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/exploration_block.h"

#include <QtEndian>

namespace {
void AppendLe32(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    out.append(bytes, 4);
}
}  // namespace

QByteArray EncodeExplorationBlock(const QList<ExplorationChannel>& channels)
{
    QByteArray block("EXPLORE-V01", 11);
    const auto count = static_cast<quint16>(channels.size());
    block.append(static_cast<char>(count & 0xFF));
    block.append(static_cast<char>(count >> 8));
    block.append(QByteArray(2, '\0'));          // offsets 13, 14
    block.append(static_cast<char>(0xFF));      // marker at 15
    block.append(QByteArray(4, '\0'));
    for (const ExplorationChannel& channel : channels) {
        QByteArray name = channel.name.left(8);
        name.append(QByteArray(8 - name.size(), '\0'));
        block.append(name);
        AppendLe32(block, channel.f1KHz);
        AppendLe32(block, channel.f2KHz);
        for (const ExplorationItem& item : channel.items) {
            block.append(static_cast<char>(item.tag));
            if (item.tag == 4 || item.tag == 5) {
                AppendLe32(block, item.number);
            } else {
                block.append(static_cast<char>(item.code));
                block.append(static_cast<char>(item.subCode));
                block.append(QByteArray(2, '\0'));
            }
        }
        block.append(static_cast<char>(0xFF));
        block.append(QByteArray(9, '\0'));
    }
    return block;
}

QList<StoredExploration> DefaultExplorations(const QString& band)
{
    using I = ExplorationItem;
    // Between them the stored explorations use every item the transfer knows:
    // each standard, each analogue system, each LNB supply, bandwidth, symbol
    // rate, inversion, every modulation, carrier count, guard interval and
    // code rate.
    if (band == QLatin1String("02")) {
        StoredExploration city{QStringLiteral("CITY-UHF"), {}, {}};
        city.channels = {
            {"C27", 0, 522000, {I::Code(2, 0), I::Number(4, 8000), I::Code(8, 1), I::Code(9, 0), I::Code(6, 0)}},
            {"C30", 0, 546000, {I::Code(2, 9), I::Number(4, 8000), I::Code(6, 0)}},
            {"C35", 0, 586000, {I::Code(2, 0), I::Number(4, 8000), I::Code(8, 1), I::Code(9, 2), I::Code(6, 0)}},
            {"E6", 182250, 0, {I::Code(2, 3), I::Code(1, 1, 1)}},
        };
        StoredExploration cable{QStringLiteral("CABLE-NET"), {}, {}};
        cable.channels = {
            {"S21", 0, 306000, {I::Code(2, 1), I::Number(4, 8000), I::Number(5, 6900000), I::Code(7, 2), I::Code(6, 0)}},
            {"S22", 0, 314000, {I::Code(2, 1), I::Number(4, 8000), I::Number(5, 6900000), I::Code(7, 4), I::Code(6, 0)}},
            {"S23", 0, 322000, {I::Code(2, 1), I::Number(4, 8000), I::Number(5, 6875000), I::Code(7, 0), I::Code(6, 1)}},
            {"S24", 0, 330000, {I::Code(2, 1), I::Number(4, 8000), I::Number(5, 6875000), I::Code(7, 1), I::Code(6, 0)}},
            {"S25", 0, 338000, {I::Code(2, 1), I::Number(4, 8000), I::Number(5, 6875000), I::Code(7, 3), I::Code(6, 0)}},
            {"J83-40", 0, 627000, {I::Code(2, 6), I::Number(4, 6000), I::Number(5, 5361000), I::Code(7, 4)}},
            {"VSB-14", 0, 473000, {I::Code(2, 5), I::Number(4, 6000)}},
            {"ISDB-20", 0, 515143, {I::Code(2, 10), I::Number(4, 6000), I::Code(9, 3), I::Code(11, 0)}},
            {"DTMB-33", 0, 570000, {I::Code(2, 11), I::Number(4, 8000), I::Code(8, 2), I::Code(9, 1), I::Code(11, 4)}},
            {"C40", 0, 626000, {I::Code(2, 0), I::Number(4, 7000), I::Code(8, 0), I::Code(9, 3), I::Code(6, 1),
                                I::Code(11, 5)}},
            {"PAL-BG", 175250, 0, {I::Code(2, 3), I::Code(1, 1, 1)}},
            {"PAL-DK", 183250, 0, {I::Code(2, 3), I::Code(1, 1, 2)}},
            {"PAL-I", 471250, 0, {I::Code(2, 3), I::Code(1, 1, 3)}},
            {"PAL-M", 61250, 0, {I::Code(2, 3), I::Code(1, 1, 4)}},
            {"PAL-N", 67250, 0, {I::Code(2, 3), I::Code(1, 1, 5)}},
            {"SEC-BG", 479250, 0, {I::Code(2, 3), I::Code(1, 2, 1)}},
            {"SEC-DK", 487250, 0, {I::Code(2, 3), I::Code(1, 2, 2)}},
            {"SEC-L", 495250, 0, {I::Code(2, 3), I::Code(1, 2, 6)}},
            {"NTSC-2", 55250, 0, {I::Code(2, 3), I::Code(1, 3, 0)}},
        };
        return {city, cable};
    }
    if (band == QLatin1String("05")) {
        StoredExploration east{QStringLiteral("SAT-EAST"), {}, {}};
        east.channels = {
            {"TP1", 0, 11778000, {I::Code(2, 2), I::Code(3, 4, 1), I::Number(5, 27500000), I::Code(11, 2), I::Code(6, 0)}},
            {"TP2", 0, 10994000, {I::Code(2, 7), I::Code(3, 2, 0), I::Number(5, 22000000), I::Code(11, 1), I::Code(7, 6), I::Code(6, 0)}},
            {"IF1", 0, 1450000, {I::Code(2, 2), I::Code(3, 0), I::Number(5, 27500000), I::Code(11, 2), I::Code(6, 0)}},
        };
        StoredExploration west{QStringLiteral("SAT-WEST"), {}, {}};
        west.channels = {
            {"W01", 0, 10729000, {I::Code(2, 7), I::Code(3, 4, 0), I::Number(5, 22000000), I::Code(7, 5), I::Code(11, 0)}},
            {"W02", 0, 11836000, {I::Code(2, 7), I::Code(3, 2, 1), I::Number(5, 29700000), I::Code(7, 6), I::Code(11, 3)}},
            {"W03", 0, 12188000, {I::Code(2, 7), I::Code(3, 4, 1), I::Number(5, 27500000), I::Code(7, 6), I::Code(11, 6)}},
            {"W04", 0, 10818000, {I::Code(2, 7), I::Code(3, 2, 0), I::Number(5, 22000000), I::Code(7, 5), I::Code(11, 7)}},
            {"W05", 0, 11954000, {I::Code(2, 7), I::Code(3, 4, 1), I::Number(5, 27500000), I::Code(7, 5), I::Code(11, 8)}},
            {"W06", 0, 10876000, {I::Code(2, 7), I::Code(3, 4, 0), I::Number(5, 22000000), I::Code(7, 5), I::Code(11, 9)}},
            {"W07", 0, 12070000, {I::Code(2, 7), I::Code(3, 2, 1), I::Number(5, 27500000), I::Code(7, 6), I::Code(11, 10)}},
            {"W08", 0, 11258000, {I::Code(2, 7), I::Code(3, 2, 0), I::Number(5, 27500000), I::Code(7, 6), I::Code(11, 11)}},
            {"W09", 0, 11317000, {I::Code(2, 7), I::Code(3, 2, 0), I::Number(5, 27500000), I::Code(7, 6), I::Code(11, 12)}},
            {"DSS-1", 0, 12224000, {I::Code(2, 4), I::Code(3, 2, 1), I::Number(5, 20000000), I::Code(11, 4)}},
            {"ANA-1", 11495000, 11495000, {I::Code(2, 3), I::Code(3, 4, 0), I::Code(1, 0, 0)}},
        };
        return {east, west};
    }
    return {};
}
