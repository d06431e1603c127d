// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gga_reader.h"

#include "gps/serial_gps.h"

#include <cstdlib>

static_assert(kGgaMaxLine == TSerialGPS::kLineBuffer - 1, "the parser refuses what the reader cannot hold");

namespace {
bool IsTalkerLetter(char c)
{
    return c >= 'A' && c <= 'Z';
}

// "$" + a two-letter talker + "GGA": receivers that combine several satellite
// systems name themselves "GN" (or "GL", "GA", "GB", "BD", "GQ", ...) rather
// than "GP", and their fix is no less a GGA fix.
bool IsGgaName(QByteArrayView name)
{
    return name.size() == 6 && name[0] == '$' && IsTalkerLetter(name[1]) && IsTalkerLetter(name[2])
        && name.sliced(3) == "GGA";
}
}  // namespace

bool ParseGgaFix(QByteArrayView line, GpsFix& fix)
{
    if (line.size() > kGgaMaxLine)
        return false;
    const QByteArray text = line.toByteArray();
    // The sentence name ends at the first comma from the second character on.
    const int firstComma = text.indexOf(',', 1);
    if (firstComma < 0 || !IsGgaName(QByteArrayView(text).first(firstComma)))
        return false;
    QByteArray fields[16];
    int start = firstComma + 1;
    for (int field = 1; field <= 15; ++field) {
        if (start >= text.size() && field < 15)
            return false;
        if (field == 15) {
            fields[15] = text.mid(start);
            break;
        }
        const char delimiter = field == 14 ? '*' : ',';
        const int end = text.indexOf(delimiter, start);
        if (end < 0)
            return false;  // the sentence ends before all its fields
        fields[field] = text.mid(start, end - start);
        start = end + 1;
    }
    if (fields[6] < QByteArray("1"))
        return false;
    const int dollar = text.indexOf('$');
    const int star = start - 1;  // the '*' that ended field 14
    quint8 sum = 0;
    for (int i = dollar + 1; i < star; ++i)
        sum ^= static_cast<quint8>(text[i]);
    const long stated = std::strtol(fields[15].constData(), nullptr, 16);
    if (stated != sum)
        return false;
    fix = {QString::fromLatin1(fields[2]), QString::fromLatin1(fields[3]), QString::fromLatin1(fields[4]),
           QString::fromLatin1(fields[5])};
    return true;
}

bool ReadGpsFix(TSerialGPS& port, GpsFix& fix)
{
    if (port.DeviceGone() && !port.Reopen())
        return false;
    port.FlushInput();
    QByteArray line;
    bool overLong = false;
    if (!port.ReceiveLine(line, &overLong) || overLong)
        return false;
    return ParseGgaFix(line, fix);
}

std::optional<GpsFix> ReadPositionForMeasurement(GpsReader& reader)
{
    if (!reader.ReceptionEnabled())
        return std::nullopt;
    for (int attempt = 0; attempt < kGpsReadAttempts; ++attempt) {
        GpsFix fix;
        if (reader.ReadGpsFix(fix))
            return fix;
    }
    const QString none = QStringLiteral("--");
    return GpsFix{none, none, none, none};
}
