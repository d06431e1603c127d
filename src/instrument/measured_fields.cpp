// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/measured_fields.h"

#include "platform/fields.h"

#include <initializer_list>

namespace {
bool IsOneOf(const QString& text, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (text == QLatin1String(name))
            return true;
    return false;
}
}  // namespace

bool IsMeasuredDigitalType(const QString& type)
{
    return IsOneOf(type, {"DVB-C", "J-83", "DVB-T/H", "ISDB-T", "DVB-S", "DSS", "8-VSB", "DVB-T2", "DVB-S2", "DTMB"});
}

const char* FieldName(MeasuredField field)
{
    switch (field) {
    case MeasuredField::Level: return fields::kLevel;
    case MeasuredField::CN: return fields::kCN;
    case MeasuredField::VA: return fields::kVA;
    case MeasuredField::DesvFM: return fields::kDesvFM;
    case MeasuredField::MER: return fields::kMER;
    case MeasuredField::CBER: return fields::kCBER;
    case MeasuredField::VBER: return fields::kVBER;
    case MeasuredField::LBER: return fields::kLBER;
    }
    return "";
}

MeasuredFieldSet MeasuredFieldSet::For(const QString& type, const QString& system, const QString& band)
{
    MeasuredFieldSet set;
    set.Add(MeasuredField::Level);
    const bool satellite = band == QLatin1String("SAT");
    if (type == QLatin1String("Analog")) {
        const bool fm = system == QLatin1String("FM");
        if (!fm)
            set.Add(MeasuredField::CN);
        if (!fm && !satellite)
            set.Add(MeasuredField::VA);
        if (system != QLatin1String("Secam L") && !satellite)
            set.Add(MeasuredField::DesvFM);
        return set;
    }
    // A type the analyser cannot measure stores nothing; LEVEL stays, so a
    // report over such rows says the tables do not match.
    if (!IsMeasuredDigitalType(type))
        return set;
    set.Add(MeasuredField::CN);
    set.Add(MeasuredField::MER);
    if (IsOneOf(type, {"DVB-T/H", "ISDB-T", "DVB-S", "DSS", "DVB-T2", "DVB-S2", "8-VSB"}))
        set.Add(MeasuredField::CBER);
    if (IsOneOf(type, {"DVB-S2", "DVB-T2", "DTMB"}))
        set.Add(MeasuredField::LBER);
    else
        set.Add(MeasuredField::VBER);
    return set;
}
