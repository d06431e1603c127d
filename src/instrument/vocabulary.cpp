// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/vocabulary.h"

#include "platform/fields.h"

#include <cstdint>

namespace vocabulary {
namespace {

using Standards = std::uint32_t;

constexpr Standards Of(Standard s)
{
    return Standards{1} << static_cast<int>(s);
}

template <typename... More>
constexpr Standards Of(Standard s, More... more)
{
    return Of(s) | Of(more...);
}

constexpr Standards kDigital = Of(Standard::DvbTH, Standard::DvbT2, Standard::DvbC, Standard::J83, Standard::Vsb8,
                                  Standard::IsdbT, Standard::Dtmb, Standard::DvbS, Standard::DvbS2, Standard::Dss);
constexpr Standards kEvery = kDigital | Of(Standard::Analog);
constexpr Standards kSatelliteTuned = Of(Standard::DvbS, Standard::DvbS2, Standard::Dss, Standard::Analog);
constexpr Standards kOfdm = Of(Standard::DvbTH, Standard::IsdbT);

enum Bands : std::uint8_t { kTer = 1, kSat = 2, kAnyBand = kTer | kSat };

// Model codes 0 to 12 as bits. kAnyModel lets every model code through, -1
// (no analyser) included; an explicit set never matches -1.
using Models = std::uint16_t;
constexpr Models kAnyModel = 0;

template <typename... Codes>
constexpr Models ModelSet(Codes... codes)
{
    return static_cast<Models>(((Models{1} << codes) | ...));
}

constexpr Models kEuropeanModels = ModelSet(0, 1, 2, 3, 6, 7, 8, 12);  // the full colour system list
constexpr Models kAmericanModels = ModelSet(4, 5, 9, 10);
constexpr Models kSouthAmericanModels = ModelSet(11);
constexpr Models kEveryModel = ModelSet(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);

struct Row {
    Kind kind;
    const char* value;
    int code;  // the analyser's number for the value, kNoCode when none is sent
    Standards standards;
    Bands bands = kAnyBand;
    Models models = kAnyModel;
    const char* modulation = nullptr;  // DVB-S2 code rates: the modulation they are offered with
    bool offered = true;               // false: accepted and encoded, never offered by the editor
};

// Rows are in the order the editor lists them. A value may appear in more
// than one row where lists of different contexts order it differently; all
// rows of one value in one standard carry the same code.
constexpr Row kRows[] = {
    // Types, code = standard code. Terrestrial list first, then satellite.
    {Kind::Type, "Analog", 0, Of(Standard::Analog), kTer},
    {Kind::Type, "DVB-C", 2, Of(Standard::DvbC), kTer, kEveryModel},
    {Kind::Type, "J-83", 6, Of(Standard::J83), kTer, ModelSet(4, 5, 9, 10, 11, 12)},
    {Kind::Type, "8-VSB", 5, Of(Standard::Vsb8), kTer, kAmericanModels},
    {Kind::Type, "DVB-T/H", 1, Of(Standard::DvbTH), kTer, ModelSet(0, 1, 2, 3, 6, 7, 8)},
    {Kind::Type, "DVB-T2", 9, Of(Standard::DvbT2), kTer, ModelSet(6, 7, 8)},
    {Kind::Type, "ISDB-T", 0xA, Of(Standard::IsdbT), kTer, kSouthAmericanModels},
    {Kind::Type, "DTMB", 0xB, Of(Standard::Dtmb), kTer, ModelSet(12)},
    {Kind::Type, "DVB-S", 3, Of(Standard::DvbS), kSat},
    {Kind::Type, "DVB-S2", 7, Of(Standard::DvbS2), kSat},
    {Kind::Type, "Analog", 0, Of(Standard::Analog), kSat},
    {Kind::Type, "DSS", 4, Of(Standard::Dss), kSat, ModelSet(4, 5, 9, 10, 12)},

    // Analogue systems, code = "*SY" code (two hexadecimal digits). FM is a
    // standard of its own (CodesOf) and has no system code.
    {Kind::System, "Pal BG", 0x01, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Pal DK", 0x02, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Pal I", 0x03, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Pal M", 0x04, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Pal N", 0x05, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Secam L", 0x16, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Secam BG", 0x11, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "Secam DK", 0x12, Of(Standard::Analog), kTer, kEuropeanModels},
    {Kind::System, "NTSC M", 0x24, Of(Standard::Analog), kTer,
     kEuropeanModels | kAmericanModels | kSouthAmericanModels},
    {Kind::System, "Pal M", 0x04, Of(Standard::Analog), kTer, kSouthAmericanModels},
    {Kind::System, "FM", kNoCode, Of(Standard::Analog), kTer,
     kEuropeanModels | kAmericanModels | kSouthAmericanModels},
    // Analogue satellite channels taken from an exploration.
    {Kind::System, "Satellite", kNoCode, Of(Standard::Analog), kSat, kAnyModel, nullptr, false},

    {Kind::Band, "TER", kNoCode, kEvery},
    {Kind::Band, "SAT", kNoCode, kEvery},

    {Kind::Lnb, "External", 0, kEvery},
    {Kind::Lnb, "13v", 2, kSatelliteTuned, kSat},
    {Kind::Lnb, "18v", 4, kSatelliteTuned, kSat},
    {Kind::Lnb, "13v22khz", 6, kSatelliteTuned, kSat},
    {Kind::Lnb, "18v22khz", 7, kSatelliteTuned, kSat},

    // Cable modulations share one encoding; DVB-S sends no modulation.
    {Kind::Modulation, "16QAM", 3, Of(Standard::DvbC)},
    {Kind::Modulation, "32QAM", 4, Of(Standard::DvbC)},
    {Kind::Modulation, "64QAM", 5, Of(Standard::DvbC, Standard::J83)},
    {Kind::Modulation, "128QAM", 6, Of(Standard::DvbC)},
    {Kind::Modulation, "256QAM", 7, Of(Standard::DvbC, Standard::J83)},
    {Kind::Modulation, "QPSK", 8, Of(Standard::DvbS, Standard::DvbS2)},
    {Kind::Modulation, "8PSK", 9, Of(Standard::DvbS2)},

    // Code rates. DVB-S and DSS are tuned with the DVB-S encoding, which has
    // no code for "6/7": a DSS test point may hold it, but the editor does
    // not offer a value the analyser would never be sent.
    {Kind::CodeRate, "1/2", 0, Of(Standard::DvbS, Standard::Dss)},
    {Kind::CodeRate, "2/3", 1, Of(Standard::DvbS, Standard::Dss)},
    {Kind::CodeRate, "3/4", 2, Of(Standard::DvbS)},
    {Kind::CodeRate, "5/6", 4, Of(Standard::DvbS)},
    {Kind::CodeRate, "7/8", 6, Of(Standard::DvbS)},
    {Kind::CodeRate, "6/7", kNoCode, Of(Standard::Dss), kAnyBand, kAnyModel, nullptr, false},
    {Kind::CodeRate, "1/2", 0, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "2/3", 1, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "3/4", 2, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "5/6", 4, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "3/5", 10, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "4/5", 3, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "8/9", 11, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "9/10", 12, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "1/4", 7, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "1/3", 8, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "2/5", 9, Of(Standard::DvbS2), kAnyBand, kAnyModel, "QPSK"},
    {Kind::CodeRate, "2/3", 1, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    {Kind::CodeRate, "3/5", 10, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    {Kind::CodeRate, "9/10", 12, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    {Kind::CodeRate, "8/9", 11, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    {Kind::CodeRate, "5/6", 4, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    {Kind::CodeRate, "3/4", 2, Of(Standard::DvbS2), kAnyBand, kAnyModel, "8PSK"},
    // The analyser takes them in DVB-S2; the editor offers them with neither modulation.
    {Kind::CodeRate, "6/7", 5, Of(Standard::DvbS2), kAnyBand, kAnyModel, nullptr, false},
    {Kind::CodeRate, "7/8", 6, Of(Standard::DvbS2), kAnyBand, kAnyModel, nullptr, false},

    {Kind::GuardInterval, "1/4", 0, kOfdm},
    {Kind::GuardInterval, "1/8", 1, kOfdm},
    {Kind::GuardInterval, "1/16", 2, kOfdm},
    {Kind::GuardInterval, "1/32", 3, kOfdm},

    {Kind::Carrier, "8K", 1, kOfdm},
    {Kind::Carrier, "2K", 0, kOfdm},
    {Kind::Carrier, "4K", 2, kOfdm},

    {Kind::InvSpectral, "ON", 1, kDigital},
    {Kind::InvSpectral, "OFF", 0, kDigital},

    // Bandwidths in MHz: the list of the types that choose one, the fixed
    // value of the others. Commands format the number itself.
    {Kind::Bandwidth, "6", kNoCode,
     Of(Standard::DvbTH, Standard::DvbT2, Standard::Analog, Standard::J83, Standard::Vsb8, Standard::IsdbT)},
    {Kind::Bandwidth, "7", kNoCode, Of(Standard::DvbTH, Standard::DvbT2, Standard::Analog)},
    {Kind::Bandwidth, "8", kNoCode, Of(Standard::DvbTH, Standard::DvbT2, Standard::Analog, Standard::Dtmb)},
    {Kind::Bandwidth, "27", kNoCode, Of(Standard::Dss)},

    // The layer command sends the letter itself.
    {Kind::Layer, "A", kNoCode, Of(Standard::IsdbT)},
    {Kind::Layer, "B", kNoCode, Of(Standard::IsdbT)},
    {Kind::Layer, "C", kNoCode, Of(Standard::IsdbT)},
};

struct StandardRow {
    Standard standard;
    const char* type;
    const char* system;  // nullptr: any system
    StandardCodes codes;
};

// The first matching row wins, so the FM row goes before the television one.
constexpr StandardRow kStandardRows[] = {
    {Standard::DvbTH, "DVB-T/H", nullptr, {1, 1, 2}},
    {Standard::DvbT2, "DVB-T2", nullptr, {9, 9}},
    {Standard::Vsb8, "8-VSB", nullptr, {5, 3}},
    {Standard::IsdbT, "ISDB-T", nullptr, {0xA, 0xA}},
    {Standard::DvbC, "DVB-C", nullptr, {2, 4}},
    {Standard::J83, "J-83", nullptr, {6, 5}},
    {Standard::Dtmb, "DTMB", nullptr, {0xB}},
    {Standard::DvbS, "DVB-S", nullptr, {3, 6}},
    {Standard::DvbS2, "DVB-S2", nullptr, {7, 8}},
    {Standard::Dss, "DSS", nullptr, {4, 7}},
    {Standard::Analog, "Analog", "FM", {8}},
    {Standard::Analog, "Analog", nullptr, {0}},
};

struct KindField {
    Kind kind;
    const char* field;
};

constexpr KindField kKindFields[] = {
    {Kind::Type, fields::kType},
    {Kind::System, fields::kSystem},
    {Kind::Band, fields::kBand},
    {Kind::Lnb, fields::kLnb},
    {Kind::Modulation, fields::kModulation},
    {Kind::CodeRate, fields::kCodeRate},
    {Kind::GuardInterval, fields::kGInterval},
    {Kind::Carrier, fields::kCarrier},
    {Kind::InvSpectral, fields::kInvSpectral},
    {Kind::Bandwidth, fields::kBw},
    {Kind::Layer, fields::kLayer},
};

bool Matches(const Row& row, const Context& context)
{
    if (!context.type.isEmpty()) {
        const auto standard = StandardOfType(context.type);
        if (!standard || (row.standards & Of(*standard)) == 0)
            return false;
    }
    if (!context.band.isEmpty()) {
        const Bands band = context.band == QLatin1String("TER")   ? kTer
                           : context.band == QLatin1String("SAT") ? kSat
                                                                  : Bands{0};
        if ((row.bands & band) == 0)
            return false;
    }
    if (context.modelCode && row.models != kAnyModel) {
        const int model = *context.modelCode;
        if (model < 0 || model > 12 || (row.models & (Models{1} << model)) == 0)
            return false;
    }
    if (!context.modulation.isEmpty() && row.modulation && context.modulation != QLatin1String(row.modulation))
        return false;
    return true;
}

void AddOnce(QStringList& list, const char* value)
{
    const QString text = QString::fromLatin1(value);
    if (!list.contains(text))
        list.append(text);
}

}  // namespace

const char* TypeText(Standard standard)
{
    for (const StandardRow& row : kStandardRows)
        if (row.standard == standard)
            return row.type;
    return "";
}

std::optional<Standard> StandardOfType(const QString& type)
{
    for (const StandardRow& row : kStandardRows)
        if (type == QLatin1String(row.type))
            return row.standard;
    return std::nullopt;
}

StandardCodes CodesOf(Standard standard, const QString& system)
{
    for (const StandardRow& row : kStandardRows)
        if (row.standard == standard && (!row.system || system == QLatin1String(row.system)))
            return row.codes;
    return StandardCodes{kNoCode};
}

QByteArray SelectCommand(int standardCode)
{
    return QByteArrayLiteral("*SA") + QByteArray::number(standardCode, 16).toUpper();
}

const char* FieldOf(Kind kind)
{
    for (const KindField& row : kKindFields)
        if (row.kind == kind)
            return row.field;
    return "";
}

std::optional<Kind> KindOfField(const QString& field)
{
    for (const KindField& row : kKindFields)
        if (field == QLatin1String(row.field))
            return row.kind;
    return std::nullopt;
}

QStringList Values(Kind kind, const Context& context)
{
    QStringList values;
    for (const Row& row : kRows)
        if (row.kind == kind && row.offered && Matches(row, context))
            AddOnce(values, row.value);
    return values;
}

QStringList KnownValues(Kind kind)
{
    QStringList values;
    for (const Row& row : kRows)
        if (row.kind == kind)
            AddOnce(values, row.value);
    return values;
}

bool IsKnown(Kind kind, const QString& value)
{
    for (const Row& row : kRows)
        if (row.kind == kind && value == QLatin1String(row.value))
            return true;
    return false;
}

std::optional<int> AnalyserCode(Kind kind, Standard standard, const QString& value)
{
    for (const Row& row : kRows)
        if (row.kind == kind && (row.standards & Of(standard)) != 0 && value == QLatin1String(row.value))
            return row.code == kNoCode ? std::nullopt : std::optional<int>(row.code);
    return std::nullopt;
}

}  // namespace vocabulary
