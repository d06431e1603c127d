// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/quantity.h"
#include "instrument/test_point.h"
#include "instrument/tune_frequency.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

// The measurement fields of one Measurements row, as the readout produced
// them. Only the fields the test point's type measures are present; the
// others stay empty in the row. The run appends the row and copies these in:
// numbers into LEVEL, C/N, V/A, DESV FM and MER; texts into CBER, VBER, LBER.
class MeasurementValues {
public:
    using Value = std::variant<double, QString>;
    struct Entry {
        QString field;
        Value value;
    };

    void SetNumber(const QString& field, double value);
    void SetText(const QString& field, const QString& text);

    bool Has(const QString& field) const;
    std::optional<double> Number(const QString& field) const;
    std::optional<QString> Text(const QString& field) const;
    // In the order the fields were first written.
    const std::vector<Entry>& Entries() const { return m_entries; }
    bool IsEmpty() const { return m_entries.empty(); }

private:
    void Set(const QString& field, Value value);
    std::vector<Entry> m_entries;
};

// Called with each decoded level, C/N, V/A and MER value (the number that is
// stored), before it is stored, so that automatic thresholds and the alarm
// evaluation of the same visit agree. The run plugs DeriveThresholds
// (alarms/auto_alarm.h) in here, writing into the visited test point row; that
// operation decides itself whether the automatic pass and the quantity's check
// box are on. Not called for a query that got no reply: a missing value must
// not collapse a threshold band onto 0.
using ThresholdDeriver = std::function<void(Quantity quantity, double value)>;

// Settling wait (when this visit tuned), then the queries of the type; each
// reply is parsed into values. A query without a reply stores "0". Types
// without measurements leave values untouched and cost no time.
void ReadMeasurements(InstrumentSession& session, const TestPoint& tp, bool tuned, MeasurementValues& values,
                      const ThresholdDeriver& deriveThresholds = {});

// The settling wait of a freshly tuned analyser for a type, in ms (0: the
// type is not measured).
int SettlingWaitMs(const QString& type);

// Reply parsers. Every measurement reply carries its value after 5 characters.
// A decimal integer after `offset` characters: leading blanks and a sign
// allowed, digits up to the first non-digit; nothing readable gives 0.
long ReplyInteger(const QByteArray& reply, int offset);
// The integer × 0.1 (LEVEL, C/N, V/A, MER).
double ScaledReading(const QByteArray& reply);
// Two-digit mantissa, one separator, exponent: "23E-6" → "2.3E-5", always with
// a decimal point.
QString BerReading(const QByteArray& reply);
