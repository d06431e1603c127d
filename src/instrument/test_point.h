// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

// The fields of one test point row that tuning and readout use, as the texts
// the table holds. The run fills it from its test point table (MakeTestPoint
// takes the field reader, so this layer needs no table engine).
struct TestPoint {
    QString ch;
    // nullopt when the test point table has no "layer" field at all.
    std::optional<QString> layer;
    QString freq;           // MHz
    QString system;
    QString type;
    QString bw;             // MHz
    QString lnb;
    QString symbolRate;
    QString modulation;
    QString codeRate;
    QString guardInterval;  // field "g.interval"
    QString invSpectral;    // field "inv.spectral"
    QString carrier;
    QString plan;
    QString band;           // "TER" or "SAT"

    // "freq" read as a number (0 when the text holds none).
    double FreqMHz() const;
    // "freq" × 1000 in single precision, the argument of TuneFrequency.
    float FreqKHz() const;
    // "bw" read as a number; nullopt when the text holds none (an empty field).
    std::optional<double> BandwidthMHz() const;
    // "symbol rate" read as an integer; nullopt when the text holds none.
    std::optional<int> SymbolRateValue() const;
};

// Builds a test point from a field reader: fieldText(name) gives the text of
// the field of that name, or nullopt when the table has no such field.
TestPoint MakeTestPoint(const std::function<std::optional<QString>(const QString& name)>& fieldText);
