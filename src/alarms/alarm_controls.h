// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <optional>

// The quantities of the alarm thresholds window; each stands for its minimum
// and maximum control.
enum class ThresholdGroup { Level, MER, CN, VA, CBER, VBER, LBER };
inline constexpr int kThresholdGroups = 7;

// Which groups are offered (enabled), indexed by ThresholdGroup.
using ThresholdOffer = std::array<bool, kThresholdGroups>;

constexpr bool Offered(const ThresholdOffer& offer, ThresholdGroup group)
{
    return offer[static_cast<size_t>(group)];
}

// The fields of a test point that decide what the window offers.
struct ThresholdSubject {
    QString type;
    QString band;
    QString system;
    QString plan;
};

// The thresholds worth setting for a test point: those its standard
// measures. Blocks are tested in order and a later match overrides an
// earlier one. Nothing when no block matches (an empty or unknown type): the
// window's controls then keep the state they had.
std::optional<ThresholdOffer> OfferedThresholds(const ThresholdSubject& subject);
