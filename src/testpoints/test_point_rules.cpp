// SPDX-License-Identifier: GPL-3.0-or-later
#include "testpoints/test_point_rules.h"

#include "instrument/vocabulary.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"
#include "platform/fields.h"
#include "testpoints/dataset.h"
#include "testpoints/engine_texts.h"

#include <cmath>

namespace tprules {
namespace {

using vocabulary::Context;
using vocabulary::Kind;

const QString kTer = QStringLiteral("TER");
const QString kSat = QStringLiteral("SAT");

bool IsBand(const QString& band)
{
    return band == kTer || band == kSat;
}

// ---- Set-up table ----------------------------------------------------------------

constexpr ControlSetup kOn{true, false, nullptr};
constexpr ControlSetup kOff{false, false, nullptr};
constexpr ControlSetup kDash{false, true, nullptr};
constexpr ControlSetup kOnEmptied{true, true, nullptr};
constexpr ControlSetup Fixed(const char* value)
{
    return ControlSetup{false, false, value};
}
constexpr ControlSetup kExternal = Fixed("External");

struct SetupRow {
    const char* type;
    const char* band;  // nullptr: either band
    TypeSetup setup;
};

// Columns: symbol rate, system, modulation, carriers, bandwidth, code rate,
// spectral inversion, guard interval, LNB, layer.
const SetupRow kSetups[] = {
    {"DVB-C", nullptr, {{kOn, kDash, kOn, kDash, kDash, kDash, kOn, kDash, kExternal, kDash}}},
    {"J-83", nullptr, {{kOff, kDash, kOn, kDash, Fixed("6"), kDash, kOn, kDash, kExternal, kDash}}},
    {"DVB-T/H", nullptr, {{kDash, kDash, kDash, kOn, kOn, kDash, kOn, kOn, kExternal, kDash}}},
    {"DVB-T2", nullptr, {{kDash, kDash, kDash, kDash, kOn, kDash, kOn, kDash, kExternal, kDash}}},
    {"8-VSB", nullptr, {{kDash, kDash, kDash, kDash, Fixed("6"), kDash, kOn, kDash, kExternal, kDash}}},
    {"ISDB-T", nullptr, {{kDash, kDash, kDash, kOn, Fixed("6"), kDash, kOn, kOn, kExternal, kOn}}},
    {"DTMB", nullptr, {{kDash, kDash, kDash, kOff, Fixed("8"), kDash, kOff, kOff, kExternal, kOff}}},
    {"DVB-S", nullptr, {{kOn, kDash, kDash, kDash, kDash, kOnEmptied, kOn, kDash, kOn, kDash}}},
    {"DVB-S2", nullptr, {{kOn, kDash, kOn, kDash, kDash, kOnEmptied, kOn, kDash, kOn, kDash}}},
    {"DSS", nullptr, {{Fixed("20000"), kDash, kDash, kDash, Fixed("27"), kOnEmptied, kOn, kDash, kOn, kDash}}},
    {"Analog", "TER", {{kDash, kOn, kDash, kDash, kOn, kDash, kDash, kDash, kExternal, kDash}}},
    {"Analog", "SAT", {{kDash, kDash, kDash, kDash, kOn, kDash, kDash, kDash, kOn, kDash}}},
    {"", nullptr, {{kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}, true}},
};

// ---- Validation --------------------------------------------------------------------

// What a range check reports: the limit as its message shows it.
enum class LimitFormat { Integer, TwoDecimals };

struct Range {
    const char* minText;
    const char* maxText;
    float min;
    float max;
    LimitFormat format;
};

constexpr Range kTerFrequency{"FRQ min = ", "FRQ max = ", 5.0f, 1000.0f, LimitFormat::Integer};
constexpr Range kSatFrequency{"FRQ min = ", "FRQ max = ", 950.0f, 2150.0f, LimitFormat::Integer};
constexpr Range kCableSymbolRate{"S.Rate min = ", "S.Rate max = ", 870.0f, 7200.0f, LimitFormat::Integer};
constexpr Range kSatSymbolRate{"S.Rate min = ", "S.Rate max = ", 1000.0f, 45000.0f, LimitFormat::Integer};
// Kept in single precision, as typed values are, so 1.2 typed is inside.
constexpr Range kSatAnalogBandwidth{"BW min = ", "BW max = ", 1.2f, 60.75f, LimitFormat::TwoDecimals};

QString LimitText(float limit, LimitFormat format)
{
    if (format == LimitFormat::Integer)
        return QString::number(static_cast<long long>(limit));
    return FormatNumber("%.2f", static_cast<double>(limit));
}

// Empty when inside, else the message with the limit crossed.
QString RangeMessage(float value, const Range& range)
{
    if (value < range.min)
        return QLatin1String(range.minText) + LimitText(range.min, range.format);
    if (value > range.max)
        return QLatin1String(range.maxText) + LimitText(range.max, range.format);
    return QString();
}

[[noreturn]] void FailConversion(const QString& text, const char* field)
{
    throw VigiloError(EngineText(texts::kNotANumber).arg(text, QLatin1String(field)));
}

float ReadFloat(const QString& text, const char* field)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    // "nan" and "inf" convert but compare inside no range and outside none.
    if (!ok || !std::isfinite(value))
        FailConversion(text, field);
    return value;
}

int ReadInteger(const QString& text, const char* field)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        FailConversion(text, field);
    return value;
}

// One step of the validation: empty when it passes, else its message.
class Checker {
public:
    explicit Checker(const EditorValues& values) : v(values) {}

    QString InvSpectral() const
    {
        return v.invSpectral == QLatin1String("ON") || v.invSpectral == QLatin1String("OFF")
                   ? QString()
                   : QStringLiteral("ERROR: Inv. Spectral");
    }
    QString Modulation() const { return NotEmpty(v.modulation, "ERROR: Modulation"); }
    QString GuardInterval() const { return NotEmpty(v.guardInterval, "ERROR: G.Interval"); }
    QString Carriers() const { return NotEmpty(v.carrier, "ERROR: Carriers/Portadoras"); }
    QString System() const { return NotEmpty(v.system, "ERROR: System/Sistema"); }
    QString CodeRate() const { return NotEmpty(v.codeRate, "ERROR: Code Rate"); }
    QString Lnb() const { return NotEmpty(v.lnb, "ERROR: LNB"); }
    QString TerrestrialBandwidth() const
    {
        if (v.bandwidth.isEmpty())
            return QStringLiteral("ERROR: BW");
        const float bw = ReadFloat(v.bandwidth, fields::kBw);
        return bw == 6.0f || bw == 7.0f || bw == 8.0f ? QString() : QStringLiteral("ERROR: BW");
    }
    QString SatAnalogBandwidth() const
    {
        if (v.bandwidth.isEmpty())
            return QStringLiteral("ERROR: BW");
        return RangeMessage(ReadFloat(v.bandwidth, fields::kBw), kSatAnalogBandwidth);
    }
    QString SymbolRate(const Range& range) const
    {
        if (v.symbolRate.isEmpty())
            return QStringLiteral("ERROR: Symbol Rate");
        return RangeMessage(static_cast<float>(ReadInteger(v.symbolRate, fields::kSymbolRate)), range);
    }
    QString Frequency(const Range& range) const
    {
        if (v.freq.isEmpty())
            return QStringLiteral("ERROR: FRQ");
        return RangeMessage(ReadFloat(v.freq, fields::kFreq), range);
    }

private:
    static QString NotEmpty(const QString& text, const char* message)
    {
        return text.isEmpty() ? QLatin1String(message) : QString();
    }

    const EditorValues& v;
};

using Step = QString (*)(const Checker&);

// Runs the steps in order; the first message ends the validation.
Validation RunSteps(const Checker& checker, std::initializer_list<Step> steps)
{
    for (Step step : steps) {
        const QString message = step(checker);
        if (!message.isEmpty())
            return Validation{false, message, {}};
    }
    return Validation{true, {}, {}};
}

Validation ValidateTerrestrial(const EditorValues& v, const Checker& c)
{
    const QString& t = v.type;
    if (t == QLatin1String("DVB-C")) {
        Validation result = RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                                         [](const Checker& k) { return k.Modulation(); },
                                         [](const Checker& k) { return k.SymbolRate(kCableSymbolRate); }});
        if (result.pass) {
            // The occupied bandwidth of the cable channel, in MHz.
            const float occupied = static_cast<float>(v.symbolRate.toInt()) * 0.00115f;
            result.occupiedBandwidth = FormatNumber("%.2f", static_cast<double>(occupied));
        }
        return result;
    }
    if (t == QLatin1String("J-83"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.Modulation(); }});
    if (t == QLatin1String("DVB-T/H"))
        return RunSteps(c, {[](const Checker& k) { return k.TerrestrialBandwidth(); },
                            [](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.GuardInterval(); },
                            [](const Checker& k) { return k.Carriers(); }});
    if (t == QLatin1String("DVB-T2") || t == QLatin1String("8-VSB"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); }});
    if (t == QLatin1String("ISDB-T"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.GuardInterval(); },
                            [](const Checker& k) { return k.Carriers(); }});
    if (t == QLatin1String("Analog"))
        return RunSteps(c, {[](const Checker& k) { return k.TerrestrialBandwidth(); },
                            [](const Checker& k) { return k.System(); }});
    if (t == QLatin1String("DTMB"))
        return Validation{true, {}, {}};
    return Validation{};
}

Validation ValidateSatellite(const EditorValues& v, const Checker& c)
{
    const QString& t = v.type;
    if (t == QLatin1String("DVB-S"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.SymbolRate(kSatSymbolRate); },
                            [](const Checker& k) { return k.CodeRate(); },
                            [](const Checker& k) { return k.Lnb(); }});
    if (t == QLatin1String("DSS"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.CodeRate(); },
                            [](const Checker& k) { return k.Lnb(); }});
    if (t == QLatin1String("DVB-S2"))
        return RunSteps(c, {[](const Checker& k) { return k.InvSpectral(); },
                            [](const Checker& k) { return k.SymbolRate(kSatSymbolRate); },
                            [](const Checker& k) { return k.Modulation(); },
                            [](const Checker& k) { return k.CodeRate(); },
                            [](const Checker& k) { return k.Lnb(); }});
    if (t == QLatin1String("Analog"))
        return RunSteps(c, {[](const Checker& k) { return k.SatAnalogBandwidth(); },
                            [](const Checker& k) { return k.Lnb(); }});
    return Validation{};
}

}  // namespace

QStringList TypeList(const QString& band, int modelCode)
{
    if (!IsBand(band))
        return {};
    return vocabulary::Values(Kind::Type, Context{{}, band, modelCode, {}});
}

QStringList ModulationList(const QString& type)
{
    // An empty type would let every row of the vocabulary through.
    if (type.isEmpty())
        return {};
    return vocabulary::ValuesFor(Kind::Modulation, type);
}

QStringList CodeRateList(const QString& type, const QString& modulation)
{
    if (type == QLatin1String("DVB-S") || type == QLatin1String("DSS"))
        return vocabulary::ValuesFor(Kind::CodeRate, type);
    if (type == QLatin1String("DVB-S2") && vocabulary::ValuesFor(Kind::Modulation, type).contains(modulation))
        return vocabulary::Values(Kind::CodeRate, Context{type, {}, {}, modulation});
    return {};
}

std::optional<QStringList> SystemList(int modelCode)
{
    if (modelCode < 0 || modelCode > 12)
        return std::nullopt;
    return vocabulary::Values(Kind::System, Context{QStringLiteral("Analog"), kTer, modelCode, {}});
}

QStringList PlanAnalogSystems(int modelCode)
{
    // Model 11 lists its own system first.
    if (modelCode == 11)
        return {QStringLiteral("Pal M"), QStringLiteral("NTSC M")};
    QStringList systems = SystemList(modelCode).value_or(QStringList());
    systems.removeAll(QStringLiteral("FM"));
    return systems;
}

std::optional<TypeSetup> SetupOfType(const QString& type, const QString& band)
{
    for (const SetupRow& row : kSetups) {
        if (type != QLatin1String(row.type))
            continue;
        if (row.band && band != QLatin1String(row.band))
            continue;
        return row.setup;
    }
    return std::nullopt;
}

Validation ValidateTestPoint(const EditorValues& values)
{
    const bool ter = values.band == kTer;
    if (!ter && values.band != kSat)
        return Validation{};
    const Checker checker(values);
    const QString frequency = checker.Frequency(ter ? kTerFrequency : kSatFrequency);
    if (!frequency.isEmpty())
        return Validation{false, frequency, {}};
    return ter ? ValidateTerrestrial(values, checker) : ValidateSatellite(values, checker);
}

void WriteNoAlarm(Dataset& table, bool withSwitch)
{
    using namespace fields;
    if (withSwitch)
        table.SetText(QLatin1String(kAlarm), QStringLiteral("OFF"));
    for (const char* name : {kMinLV, kMaxLV, kMinCN, kMaxCN, kMinVA, kMaxVA, kMinMER, kMaxMER})
        table.SetNumber(QLatin1String(name), 0);
    for (const char* name : {kMaxCBER, kMinCBER, kMaxVBER, kMinVBER, kMaxLBER, kMinLBER})
        table.SetText(QLatin1String(name), QStringLiteral("OFF"));
}

}  // namespace tprules
