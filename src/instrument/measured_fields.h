// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The measurement fields of a Measurements row, in field order.
enum class MeasuredField : std::uint8_t { Level, CN, VA, DesvFM, MER, CBER, VBER, LBER };

inline constexpr std::array<MeasuredField, 8> kMeasuredFieldsInOrder{
    MeasuredField::Level, MeasuredField::CN,   MeasuredField::VA,   MeasuredField::DesvFM,
    MeasuredField::MER,   MeasuredField::CBER, MeasuredField::VBER, MeasuredField::LBER};

// The Measurements field's name ("LEVEL", "C/N", ...).
const char* FieldName(MeasuredField field);
// The bit error rates are stored as texts; the others as numbers.
constexpr bool IsBitErrorRate(MeasuredField field)
{
    return field == MeasuredField::CBER || field == MeasuredField::VBER || field == MeasuredField::LBER;
}

// The digital types the analyser measures ("Analog" is measured too).
bool IsMeasuredDigitalType(const QString& type);

// Which fields a visit of a test point stores, by its type, system and band.
// The readout queries exactly these and the "Min/Max/Avg" report aggregates
// exactly these, so a report never waits for a value the run never stores
// (J-83 has no CBER, DTMB stores LBER instead of CBER and VBER).
class MeasuredFieldSet {
public:
    static MeasuredFieldSet For(const QString& type, const QString& system, const QString& band);

    bool Has(MeasuredField field) const { return (m_bits >> static_cast<unsigned>(field)) & 1U; }
    void Add(MeasuredField field) { m_bits |= static_cast<std::uint8_t>(1U << static_cast<unsigned>(field)); }
    bool operator==(const MeasuredFieldSet&) const = default;

private:
    std::uint8_t m_bits = 0;
};
