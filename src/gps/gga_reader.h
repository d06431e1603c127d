// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class TSerialGPS;

// A position as the receiver states it, texts exactly as in the sentence.
struct GpsFix {
    QString latitude;   // degrees and minutes, "4807.038"
    QString ns;         // "N" or "S"
    QString longitude;  // "01131.000"
    QString ew;         // "E" or "W"

    bool operator==(const GpsFix&) const = default;
};

// Checks one NMEA line (line end already removed) as a "$GPGGA" sentence
// with a fix (quality not below "1") and a matching checksum.
bool ParseGgaFix(const QByteArray& line, GpsFix& fix);

// Discards what is waiting, reads the next line and parses it.
bool ReadGpsFix(TSerialGPS& port, GpsFix& fix);

// What the run asks of the GPS window.
class GpsReader {
public:
    virtual ~GpsReader() = default;
    virtual bool ReceptionEnabled() const = 0;
    virtual bool ReadGpsFix(GpsFix& fix) = 0;
};

// The position for one Measurements row: nothing while reception is off
// (the row's position fields stay untouched); otherwise up to 20 reads, and
// "--" in all four texts when none gave a fix.
std::optional<GpsFix> ReadPositionForMeasurement(GpsReader& reader);
inline constexpr int kGpsReadAttempts = 20;
