// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/quantity.h"

#include <QString>
#include <functional>

// The automatic alarm window as the run reads it: which quantities take part
// and their tolerances (whole dB), read at the moment of use.
class AutoAlarmAccess {
public:
    virtual ~AutoAlarmAccess() = default;
    virtual bool Enabled(Quantity quantity) const = 0;
    // The tolerance edit's text as it stands (the user may be typing).
    virtual QString ToleranceText(Quantity quantity) const = 0;
};

// Without a window: the headless station and tests. Same defaults as the window.
class AutoAlarmValues final : public AutoAlarmAccess {
public:
    bool level = false, cn = false, va = false, mer = false;
    QString levelTol = QStringLiteral("2"), cnTol = QStringLiteral("2"), vaTol = QStringLiteral("2"),
            merTol = QStringLiteral("2");

    bool Enabled(Quantity q) const override;
    QString ToleranceText(Quantity q) const override;
    void Set(Quantity q, bool enabled, const QString& tolerance);
};

// The largest tolerance an edit accepts (20 dB; 10 dB for MER).
int LargestTolerance(Quantity quantity);

// Exit check of a tolerance edit: empty → "0", above the largest → the largest.
QString ValidateTolerance(Quantity quantity, const QString& text);

// The tolerance the derivation uses: a text that reads as no whole number
// (an edit the user has just cleared) counts as 0, so a run never fails on it.
int ReadTolerance(const QString& text);

// Writes one number field of the current test point.
using ThresholdWriter = std::function<void(const QString& field, double value)>;

// During an automatic alarm pass (autoAlarmPass) and with the quantity's box
// ticked, sets the quantity's minimum and maximum thresholds of the current
// test point to measured ∓ tolerance. Otherwise writes nothing.
void DeriveThresholds(const AutoAlarmAccess& autoAlarm, bool autoAlarmPass, Quantity quantity,
                      double measured, const ThresholdWriter& write);
