// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/fields.h"

// The four measured quantities whose values can become alarm thresholds: the
// readout reports them, the automatic alarm pass centres a band on them.
enum class Quantity { Level, CN, VA, MER };

inline constexpr Quantity kQuantities[] = {Quantity::Level, Quantity::CN, Quantity::VA, Quantity::MER};

// Where a quantity lives: its Measurements field and the test point fields
// that hold its alarm band.
struct QuantityFields {
    const char* measured;
    const char* minField;
    const char* maxField;
};

constexpr QuantityFields FieldsOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Level: return {fields::kLevel, fields::kMinLV, fields::kMaxLV};
    case Quantity::CN: return {fields::kCN, fields::kMinCN, fields::kMaxCN};
    case Quantity::VA: return {fields::kVA, fields::kMinVA, fields::kMaxVA};
    case Quantity::MER: return {fields::kMER, fields::kMinMER, fields::kMaxMER};
    }
    return {"", "", ""};
}
