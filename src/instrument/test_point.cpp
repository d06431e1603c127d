// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/test_point.h"

#include "platform/fields.h"

#include <cmath>

namespace {

// Numbers are stored with a point; a decimal comma (typed in a Spanish
// locale before the fix-up existed) is read the same way.
std::optional<double> ReadNumber(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

double TestPoint::FreqMHz() const
{
    return ReadNumber(freq).value_or(0.0);
}

float TestPoint::FreqKHz() const
{
    return static_cast<float>(FreqMHz() * 1000.0);
}

std::optional<double> TestPoint::BandwidthMHz() const
{
    return ReadNumber(bw);
}

std::optional<int> TestPoint::SymbolRateValue() const
{
    const auto value = ReadNumber(symbolRate);
    if (!value || *value < 0 || *value > 99999999.0)
        return std::nullopt;
    return static_cast<int>(std::lround(*value));
}

TestPoint MakeTestPoint(const std::function<std::optional<QString>(const QString& name)>& fieldText)
{
    const auto text = [&](const char* name) {
        return fieldText(QString::fromLatin1(name)).value_or(QString());
    };
    TestPoint tp;
    tp.ch = text(fields::kCh);
    tp.layer = fieldText(QLatin1String(fields::kLayer));
    tp.freq = text(fields::kFreq);
    tp.system = text(fields::kSystem);
    tp.type = text(fields::kType);
    tp.bw = text(fields::kBw);
    tp.lnb = text(fields::kLnb);
    tp.symbolRate = text(fields::kSymbolRate);
    tp.modulation = text(fields::kModulation);
    tp.codeRate = text(fields::kCodeRate);
    tp.guardInterval = text(fields::kGInterval);
    tp.invSpectral = text(fields::kInvSpectral);
    tp.carrier = text(fields::kCarrier);
    tp.plan = text(fields::kPlan);
    tp.band = text(fields::kBand);
    return tp;
}
