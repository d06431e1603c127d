// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/exploration_decoder.h"

#include "platform/fields.h"
#include "testpoints/field_values.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {
constexpr int kCountOffset = 11;
constexpr int kMarkerSearchFrom = 14;
constexpr int kMarkerSearchLast = 24998;
constexpr int kMarkerLength = 5;
constexpr int kNameLength = 8;
constexpr int kRecordHead = kNameLength + 4 + 4;
constexpr int kItemLength = 5;
constexpr int kRecordEnd = 10;
constexpr int kNumberReplySkip = 3;
constexpr int kNameReplySkip = 13;
constexpr quint8 kMarker = 0xFF;

quint8 ByteAt(const QByteArray& bytes, int at)
{
    return static_cast<quint8>(bytes.at(at));
}

qint32 Le32At(const QByteArray& bytes, int at)
{
    const quint32 value = quint32(ByteAt(bytes, at)) | quint32(ByteAt(bytes, at + 1)) << 8 |
                          quint32(ByteAt(bytes, at + 2)) << 16 | quint32(ByteAt(bytes, at + 3)) << 24;
    return static_cast<qint32>(value);
}

// The analyser gives whole kHz. The MHz are worked out exactly: in single
// precision about half of all kHz values come out a hair below their value,
// and the field's cut to seven characters then stores a frequency 1 kHz low.
QString MHzText(qint32 kHz)
{
    return NumberText(kHz / 1000.0);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsKnownTag(quint8 tag)
{
    return (tag >= 1 && tag <= 9) || tag == 11;
}

// The text of `code` in a list, or nothing for a code the list lacks.
template <size_t N>
const char* Pick(const std::array<const char*, N>& list, quint8 code)
{
    return code < N ? list[code] : nullptr;
}

constexpr std::array<const char*, 12> kStandards = {"DVB-T/H", "DVB-C", "DVB-S",  "Analog", "DSS",    "8-VSB",
                                                    "J-83",    "DVB-S2", nullptr, "DVB-T2", "ISDB-T", "DTMB"};
constexpr std::array<bool, 12> kTerrestrialStandard = {true, true, false, false, false, true,
                                                       true, false, false, true, true, true};
constexpr std::array<const char*, 6> kPal = {nullptr, "Pal BG", "Pal DK", "Pal I", "Pal M", "Pal N"};
constexpr std::array<const char*, 7> kSecam = {nullptr, "Secam BG", "Secam DK", nullptr, nullptr, nullptr, "Secam L"};
constexpr std::array<const char*, 2> kInversion = {"OFF", "ON"};
constexpr std::array<const char*, 7> kModulations = {"16QAM", "32QAM", "64QAM", "128QAM", "256QAM", "QPSK", "8PSK"};
constexpr std::array<const char*, 3> kCarriers = {"2K", "8K", "4K"};
constexpr std::array<const char*, 4> kGuards = {"1/4", "1/8", "1/16", "1/32"};
constexpr std::array<const char*, 13> kCodeRates = {"1/2", "2/3", "3/4", "4/5", "5/6", "7/8", "6/7",
                                                    "1/4", "1/3", "2/5", "3/5", "8/9", "9/10"};

class RecordWriter {
public:
    explicit RecordWriter(DecodedChannel& channel) : m_channel(channel) {}
    void Set(const char* field, const QString& text) { m_channel.fields.emplace_back(field, text); }
    void Set(const char* field, const char* text)
    {
        if (text)
            Set(field, QString::fromLatin1(text));
    }

private:
    DecodedChannel& m_channel;
};

// One parameter item. Value bytes outside the tables change nothing: the
// item keeps its five bytes, so the items after it are still read in step.
void ApplyItem(RecordWriter& row, quint8 tag, const QByteArray& block, int value, qint32 f1, qint32 f2)
{
    const quint8 code = ByteAt(block, value);
    const quint8 subCode = ByteAt(block, value + 1);
    switch (tag) {
    case 1:
        row.Set(fields::kFreq, MHzText(f1));
        if (code == 0 && subCode == 0) {
            row.Set(fields::kFreq, MHzText(f2));
            row.Set(fields::kType, "Analog");
            row.Set(fields::kBand, "SAT");
            row.Set(fields::kAlarm, "OFF");
            for (const char* emptied : {fields::kSymbolRate, fields::kModulation, fields::kCodeRate,
                                        fields::kGInterval, fields::kInvSpectral, fields::kCarrier})
                row.Set(emptied, QString());
        } else if (code >= 1 && code <= 3) {
            row.Set(fields::kBw, "8");
            row.Set(fields::kLnb, "External");
            if (code == 1)
                row.Set(fields::kSystem, Pick(kPal, subCode));
            else if (code == 2)
                row.Set(fields::kSystem, Pick(kSecam, subCode));
            else
                row.Set(fields::kSystem, "NTSC M");
        }
        break;
    case 2:
        if (const char* type = Pick(kStandards, code)) {
            row.Set(fields::kType, type);
            row.Set(fields::kFreq, MHzText(code == 3 ? f1 : f2));
            if (kTerrestrialStandard[code])
                row.Set(fields::kLnb, "External");
        }
        break;
    case 3:
        if (code == 0)
            row.Set(fields::kLnb, "External");
        else if ((code == 2 || code == 4) && subCode <= 1)
            row.Set(fields::kLnb, code == 2 ? (subCode ? "13v22khz" : "13v") : (subCode ? "18v22khz" : "18v"));
        break;
    case 4: row.Set(fields::kBw, NumberText(Le32At(block, value) / 1000.0)); break;
    case 5: {
        char text[32];
        std::snprintf(text, sizeof text, "%.f", Le32At(block, value) / 1000.0);
        row.Set(fields::kSymbolRate, QString::fromLatin1(text));
        break;
    }
    case 6: row.Set(fields::kInvSpectral, Pick(kInversion, code)); break;
    case 7: row.Set(fields::kModulation, Pick(kModulations, code)); break;
    case 8: row.Set(fields::kCarrier, Pick(kCarriers, code)); break;
    case 9: row.Set(fields::kGInterval, Pick(kGuards, code)); break;
    case 11: row.Set(fields::kCodeRate, Pick(kCodeRates, code)); break;
    default: break;
    }
}
}  // namespace

QByteArray BandCode(TerSat band)
{
    return band == TerSat::Sat ? QByteArrayLiteral("05") : QByteArrayLiteral("02");
}

QString BandName(TerSat band)
{
    return band == TerSat::Sat ? QStringLiteral("SAT") : QStringLiteral("TER");
}

int ReadExplorationNumber(const QByteArray& reply)
{
    qint64 value = 0;
    for (int i = kNumberReplySkip; i < reply.size(); ++i) {
        const int digit = HexDigit(reply.at(i));
        if (digit < 0)
            break;
        // Beyond any count or length the analyser could mean: held there
        // rather than wrapped, so it is refused as too large.
        value = std::min<qint64>(value * 16 + digit, 0x7FFFFFFF);
    }
    return static_cast<int>(value);
}

QString ReadExplorationName(const QByteArray& reply)
{
    QByteArray name;
    for (int i = kNameReplySkip; i < reply.size(); ++i) {
        if (reply.at(i) == '\r' || reply.at(i) == '\0')
            break;
        name.append(reply.at(i));
    }
    return QString::fromLatin1(name);
}

std::optional<QString> DecodedChannel::Field(const char* field) const
{
    std::optional<QString> text;
    for (const auto& [name, value] : fields)
        if (qstrcmp(name, field) == 0)
            text = value;
    return text;
}

std::optional<DecodedChannel> DecodeChannelRecord(const QByteArray& block, int at, int& next)
{
    if (at < 0 || at > block.size() - kRecordHead)
        return std::nullopt;
    DecodedChannel channel;
    QByteArray name = block.mid(at, kNameLength);
    const int nul = name.indexOf('\0');
    if (nul >= 0)
        name.truncate(nul);
    channel.ch = QString::fromLatin1(name);
    const qint32 f1 = Le32At(block, at + kNameLength);
    const qint32 f2 = Le32At(block, at + kNameLength + 4);
    RecordWriter row(channel);
    int pos = at + kRecordHead;
    while (pos < block.size() && IsKnownTag(ByteAt(block, pos))) {
        if (pos > block.size() - kItemLength)
            return std::nullopt;
        ApplyItem(row, ByteAt(block, pos), block, pos + 1, f1, f2);
        pos += kItemLength;
    }
    // The record's end byte must have arrived; its nine bytes after it are
    // not read.
    if (pos >= block.size())
        return std::nullopt;
    next = pos + kRecordEnd;
    return channel;
}

DecodedExploration DecodeExplorationBlock(const QByteArray& block)
{
    DecodedExploration result;
    int marker = -1;
    const int last = std::min<int>(static_cast<int>(block.size()) - 1, kMarkerSearchLast);
    for (int i = kMarkerSearchFrom; i <= last; ++i) {
        if (ByteAt(block, i) == kMarker) {
            marker = i;
            break;
        }
    }
    if (marker < 0)
        return result;
    result.markerFound = true;
    result.count = ByteAt(block, kCountOffset) | ByteAt(block, kCountOffset + 1) << 8;
    int at = marker + kMarkerLength;
    for (int k = 0; k < result.count; ++k) {
        int next = 0;
        std::optional<DecodedChannel> channel = DecodeChannelRecord(block, at, next);
        if (!channel) {
            result.truncated = true;
            break;
        }
        result.channels.push_back(std::move(*channel));
        at = next;
    }
    return result;
}
