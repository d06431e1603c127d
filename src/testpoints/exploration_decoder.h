// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The bytes of the analyser's exploration transfer, read without trusting
// them: every reader stays inside the bytes it was given.

// The analyser's stored explorations are kept per band.
enum class TerSat { Ter, Sat };

// "02" for the terrestrial band, "05" for the satellite band.
QByteArray BandCode(TerSat band);
// "TER" or "SAT", as the test point table's `band` field says it.
QString BandName(TerSat band);

// Count and length replies: three bytes not interpreted, then hexadecimal
// digits up to the first other character; no digit reads 0.
int ReadExplorationNumber(const QByteArray& reply);
// Name reply: thirteen bytes not interpreted, then the name up to a CR, a
// NUL or the end of the bytes.
QString ReadExplorationName(const QByteArray& reply);

// One channel record as it changes a new test point row: each field the
// record sets, with its text in the order the items set them (a later item
// overrides an earlier one, an empty text empties the field).
struct DecodedChannel {
    QString ch;
    std::vector<std::pair<const char*, QString>> fields;

    // The last text the record gave `field`, if any.
    std::optional<QString> Field(const char* field) const;
};

struct DecodedExploration {
    bool markerFound = false;
    int count = 0;  // C, as the block announces it
    std::vector<DecodedChannel> channels;
    // The block ended inside a record (or before the announced count was
    // reached): `channels` holds the records before it.
    bool truncated = false;
};

// The whole exploration block. Never reads outside `block`; a record that
// does not end inside it is left out with everything after it.
DecodedExploration DecodeExplorationBlock(const QByteArray& block);

// One record starting at `at`; nothing when the record runs past the end of
// `block`. `next` receives where the following record starts.
std::optional<DecodedChannel> DecodeChannelRecord(const QByteArray& block, int at, int& next);

// Downlink frequencies above this many MHz are brought to the LNB output.
inline constexpr double kLnbOutputLimitMHz = 2150.0;
