// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/measurement_readout.h"

#include "instrument/measured_fields.h"
#include "platform/decimal_point.h"

#include <climits>
#include <cstdio>
#include <utility>

void MeasurementValues::Set(const QString& field, Value value)
{
    for (Entry& entry : m_entries) {
        if (entry.field == field) {
            entry.value = std::move(value);
            return;
        }
    }
    m_entries.push_back({field, std::move(value)});
}

void MeasurementValues::SetNumber(const QString& field, double value)
{
    Set(field, value);
}

void MeasurementValues::SetText(const QString& field, const QString& text)
{
    Set(field, text);
}

bool MeasurementValues::Has(const QString& field) const
{
    for (const Entry& entry : m_entries)
        if (entry.field == field)
            return true;
    return false;
}

std::optional<double> MeasurementValues::Number(const QString& field) const
{
    for (const Entry& entry : m_entries)
        if (entry.field == field && std::holds_alternative<double>(entry.value))
            return std::get<double>(entry.value);
    return std::nullopt;
}

std::optional<QString> MeasurementValues::Text(const QString& field) const
{
    for (const Entry& entry : m_entries)
        if (entry.field == field && std::holds_alternative<QString>(entry.value))
            return std::get<QString>(entry.value);
    return std::nullopt;
}

long ReplyInteger(const QByteArray& reply, int offset)
{
    qsizetype i = offset;
    const qsizetype n = reply.size();
    while (i < n && (reply[i] == ' ' || reply[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (reply[i] == '+' || reply[i] == '-')) {
        negative = reply[i] == '-';
        ++i;
    }
    long value = 0;
    // A garbled reply of many digits saturates instead of overflowing.
    for (; i < n && reply[i] >= '0' && reply[i] <= '9'; ++i)
        value = value < LONG_MAX / 10 ? value * 10 + (reply[i] - '0') : LONG_MAX;
    return negative ? -value : value;
}

double ScaledReading(const QByteArray& reply)
{
    return static_cast<double>(ReplyInteger(reply, 5)) * 0.1;
}

QString BerReading(const QByteArray& reply)
{
    constexpr int kValueStart = 5;
    // The mantissa has two digits and one separator follows it.
    constexpr int kExponentStart = kValueStart + 3;
    const float mantissa = static_cast<float>(ReplyInteger(reply, kValueStart));
    const long exponent = ReplyInteger(reply, kExponentStart);
    char buffer[64];
    // m × 10^e written with one digit before the point: (m / 10) × 10^(e + 1).
    std::snprintf(buffer, sizeof buffer, "%.1fE%G", mantissa * 0.1, static_cast<double>(exponent) + 1.0);
    FixDecimalPoint(buffer);
    return QString::fromLatin1(buffer);
}

namespace {

const QString kDeviation = QLatin1String(fields::kDesvFM);
const QString kMer = QLatin1String(fields::kMER);
const QString kCber = QLatin1String(fields::kCBER);
const QString kVber = QLatin1String(fields::kVBER);
const QString kLber = QLatin1String(fields::kLBER);

class Readout {
public:
    Readout(InstrumentSession& s, MeasurementValues& values, const ThresholdDeriver& derive)
        : m_session(s), m_values(values), m_derive(derive)
    {
    }

    void Scaled(const char* query, Quantity quantity)
    {
        const QString field = QLatin1String(FieldsOf(quantity).measured);
        QByteArray reply(query);
        if (!m_session.Link().Query(reply)) {
            m_values.SetNumber(field, 0.0);
            return;
        }
        const double value = ScaledReading(reply);
        if (m_derive)
            m_derive(quantity, value);
        m_values.SetNumber(field, value);
    }

    void Deviation()
    {
        QByteArray reply("*?FM");
        m_values.SetNumber(kDeviation,
                           m_session.Link().Query(reply) ? static_cast<double>(ReplyInteger(reply, 5)) : 0.0);
    }

    void Ber(const char* query, const QString& field)
    {
        QByteArray reply(query);
        m_values.SetText(field, m_session.Link().Query(reply) ? BerReading(reply) : QStringLiteral("0"));
    }

private:
    InstrumentSession& m_session;
    MeasurementValues& m_values;
    const ThresholdDeriver& m_derive;
};

}  // namespace

int SettlingWaitMs(const QString& type)
{
    if (type == QLatin1String("Analog"))
        return 4000;
    if (IsMeasuredDigitalType(type))
        return 5000;
    return 0;
}

void ReadMeasurements(InstrumentSession& session, const TestPoint& tp, bool tuned, MeasurementValues& values,
                      const ThresholdDeriver& deriveThresholds)
{
    const QString& type = tp.type;
    const int settlingMs = SettlingWaitMs(type);
    if (settlingMs == 0)
        return;

    // The analyser's readings lag a retune; Stop does not shorten this, so a
    // stopped run still stores settled values for the visit it completes.
    if (tuned) {
        for (int step = 0; step < settlingMs / 100; ++step) {
            session.Pump().Sleep(100);
            session.ProcessMessages();
        }
    }

    Readout r(session, values, deriveThresholds);
    const MeasuredFieldSet stored = MeasuredFieldSet::For(type, tp.system, tp.band);
    for (const MeasuredField field : kMeasuredFieldsInOrder) {
        if (!stored.Has(field))
            continue;
        switch (field) {
        case MeasuredField::Level: r.Scaled("*?LV", Quantity::Level); break;
        case MeasuredField::CN: r.Scaled("*?CN", Quantity::CN); break;
        case MeasuredField::VA: r.Scaled("*?VA", Quantity::VA); break;
        case MeasuredField::DesvFM: r.Deviation(); break;
        case MeasuredField::MER:
            // A DAB channel tuned as DVB-C has no MER or VBER reading: both
            // are stored as failed.
            if (type == QLatin1String("DVB-C") && tp.plan == QLatin1String("DAB")) {
                values.SetNumber(kMer, 0.0);
                values.SetText(kVber, QStringLiteral("0"));
                return;
            }
            r.Scaled("*?ME", Quantity::MER);
            break;
        case MeasuredField::CBER: r.Ber(type == QLatin1String("8-VSB") ? "*?SE" : "*?CB", kCber); break;
        case MeasuredField::VBER: r.Ber("*?VB", kVber); break;
        case MeasuredField::LBER: r.Ber("*?VB", kLber); break;
        }
    }
}
