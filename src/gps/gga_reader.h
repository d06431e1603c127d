// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
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

// Checks one NMEA line (line end already removed) as a GGA sentence of any
// talker ("$GPGGA", "$GNGGA", "$GLGGA", ...) with a fix (quality not below
// "1") and a matching checksum. Lines over kGgaMaxLine characters fail.
//
// A pure function of the bytes it is given: no port, no clock, no state, and
// any byte sequence is a legal input, so a fuzz target can feed it directly.
// `fix` is written only on success.
bool ParseGgaFix(QByteArrayView line, GpsFix& fix);
// The receiver's line buffer: 99 characters and its end mark.
inline constexpr int kGgaMaxLine = 99;

// Discards what is waiting, reads the next line and parses it. A receiver
// whose device went away is first opened again under its COM name.
bool ReadGpsFix(TSerialGPS& port, GpsFix& fix);

// What the run asks of the GPS window.
class GpsReader {
public:
    virtual ~GpsReader() = default;
    virtual bool ReceptionEnabled() const = 0;
    virtual bool ReadGpsFix(GpsFix& fix) = 0;
    // The receiver's device went away and has not come back yet (each read
    // first tries to open it again).
    virtual bool ReceiverLost() const { return false; }
};

// The position for one Measurements row: nothing while reception is off
// (the row's position fields stay untouched); otherwise up to 20 reads, and
// "--" in all four texts when none gave a fix.
std::optional<GpsFix> ReadPositionForMeasurement(GpsReader& reader);
inline constexpr int kGpsReadAttempts = 20;
