// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The values the station knows for the enumerated test point fields, with the
// analyser's code for each: the one place the tuners take their codes from,
// the import checks values against and the editor builds its lists from.
// Texts are compared exactly (case-sensitive), as the stored values are.
namespace vocabulary {

// One standard per "type" text.
enum class Standard { Analog, DvbTH, DvbT2, DvbC, J83, Vsb8, IsdbT, Dtmb, DvbS, DvbS2, Dss };

inline constexpr Standard kStandards[] = {Standard::Analog, Standard::DvbTH, Standard::DvbT2, Standard::DvbC,
                                          Standard::J83,    Standard::Vsb8,  Standard::IsdbT, Standard::Dtmb,
                                          Standard::DvbS,   Standard::DvbS2, Standard::Dss};

// The field "type" as stored: "Analog", "DVB-T/H", "DVB-T2", "DVB-C", "J-83",
// "8-VSB", "ISDB-T", "DTMB", "DVB-S", "DVB-S2", "DSS".
const char* TypeText(Standard standard);
std::optional<Standard> StandardOfType(const QString& type);

inline constexpr int kNoCode = -1;

// How the analyser is put into a standard ("*SA" and one hexadecimal digit,
// which "*?SA" reports back) and what "*?ST" reports once it has locked.
struct StandardCodes {
    int standardCode;
    int readyCode = kNoCode;       // kNoCode: the tuner never asks
    int otherReadyCode = kNoCode;  // a second code that also means locked
};
// Analogue FM is a standard of its own; every other system of "Analog" shares
// the television standard.
StandardCodes CodesOf(Standard standard, const QString& system = QString());
// "*SA" followed by the code as one upper-case hexadecimal digit.
QByteArray SelectCommand(int standardCode);

// The enumerated kinds of value, each the content of one test point field.
enum class Kind { Type, System, Band, Lnb, Modulation, CodeRate, GuardInterval, Carrier, InvSpectral, Bandwidth, Layer };

// The test point field that holds values of the kind, and back.
const char* FieldOf(Kind kind);
std::optional<Kind> KindOfField(const QString& field);

// What narrows a list: every part left empty (or without a value) lets all
// rows through. `modelCode` is that of the detected analyser (-1 for none).
struct Context {
    QString type;
    QString band;  // "TER" or "SAT"
    std::optional<int> modelCode;
    QString modulation;
};

// The values the test point editor offers for the kind in that context, in
// table order, each once: types per band and model code, systems per model
// code, code rates per type and modulation, and so on.
QStringList Values(Kind kind, const Context& context = Context());
inline QStringList ValuesFor(Kind kind, const QString& type) { return Values(kind, Context{type, {}, {}, {}}); }

// Every value the station accepts for the kind, also those the editor does
// not offer (a test point written elsewhere may hold them), in table order.
QStringList KnownValues(Kind kind);
bool IsKnown(Kind kind, const QString& value);

// The analyser's code for a value in a standard; nullopt when the station
// sends nothing for it (an unknown value, or a kind without codes).
std::optional<int> AnalyserCode(Kind kind, Standard standard, const QString& value);

}  // namespace vocabulary
